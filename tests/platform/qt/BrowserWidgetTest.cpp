#include "platform/qt/BrowserWidget.h"

#include "controls/BrowserControls.h"
#include "controls/RetButtons.h"
#include "platform/qt/QtDriveCombo.h"
#include "platform/qt/QtIconTheme.h"
#include "platform/qt/QtListView.h"
#include "platform/qt/QtTreeView.h"
#include "platform/qt/RecordingBrowserInput.h"

#include <QApplication>
#include <QIcon>
#include <QLineEdit>
#include <QMimeDatabase>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <memory>

TEST(BrowserWidgetTest, TopRowCarriesTheDriveListAndTheThreeButtons) {
    BrowserControls controls;
    RecordingBrowserInput input;
    controls.drive1.setEntries({"/ [sda2]", "/home [HOME]"});
    BrowserWidget widget(controls, input);
    QtDriveCombo* combo = widget.driveCombo();
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(1), "/home [HOME]");
    EXPECT_EQ(combo->toolTip(), "ﾄﾞﾗｲﾌﾞを指定します");
    controls.drive1.selectForPath("/home/u");
    EXPECT_EQ(combo->currentIndex(), 1);
    emit combo->activated(0);
    EXPECT_EQ(controls.drive1.selectedIndex(), 0);
    emit combo->activated(0); // the entry already shown: no change

    for (int i = 0; i < RetButtons::count; ++i) {
        EXPECT_EQ(widget.retButton(i)->toolTip().toStdString(), RetButtons::toolTip(i));
        widget.retButton(i)->click();
    }
    EXPECT_EQ(widget.retButton(3), nullptr);
    EXPECT_EQ(input.calls,
              (std::vector<std::string>{"drive 0", "button 0", "button 1", "button 2"}));
}

TEST(BrowserWidgetTest, TheListPaneExistsOnlyInTheSplitView) {
    BrowserControls controls;
    RecordingBrowserInput input;
    BrowserWidget widget(controls, input);
    widget.resize(250, 600);
    widget.show();
    EXPECT_FALSE(widget.listView()->isVisible());
    EXPECT_TRUE(widget.treeView()->isVisible());

    controls.splitter.addPane("pLsV", "pTrV");
    controls.splitter.setPaneChild("pLsV", "LsView");
    EXPECT_TRUE(widget.listView()->isVisible());
    controls.splitter.setTreePaneHeight(200);
    EXPECT_EQ(widget.treeView()->height(), 200);
    EXPECT_EQ(controls.splitter.treePaneHeight(), 200);
    EXPECT_EQ(controls.splitter.controlHeight(), 600);
    EXPECT_GT(input.resizes, 0);

    controls.splitter.removePane("pLsV");
    EXPECT_FALSE(widget.listView()->isVisible());
}

TEST(BrowserWidgetTest, ANarrowWindowIsNotWidenedByThePanes) {
    BrowserControls controls;
    RecordingBrowserInput input;
    controls.drive1.setEntries({"/media/someone/A rather long volume label [LABEL]"});
    controls.splitter.addPane("pLsV", "pTrV");
    controls.splitter.setPaneChild("pLsV", "LsView");
    BrowserWidget widget(controls, input);
    EXPECT_LE(widget.minimumSizeHint().width(), 150);
}

TEST(QtIconThemeTest, IconNamesComeFromTheNameAlone) {
    QtIconTheme::ensureThemeName();
    EXPECT_FALSE(QIcon::themeName().isEmpty());
    QtIconTheme theme;
    EXPECT_EQ(theme.iconNameFor("/home/u/docs", true), "folder");
    const std::string text = theme.iconNameFor("/home/u/notes.txt", false);
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(theme.iconNameFor("/nowhere/other.TXT", false), theme.iconNameFor("/x/a.TXT", false));
    EXPECT_NE(theme.iconNameFor("/x/a.png", false), text);
    EXPECT_FALSE(theme.iconNameFor(std::string("/x/bad\xff name.zzqq"), false).empty());
    EXPECT_FALSE(theme.iconNameFor("/x/README", false).empty());
}

TEST(QtIconThemeTest, AFolderOfManyFilesCostsOneLookupPerKindOfName) {
    QtIconTheme theme;
    const char* const kinds[] = {".txt", ".JPG", ".tar.gz"};
    for (int i = 0; i < 3000; ++i) {
        theme.iconNameFor("/big/file" + std::to_string(i) + kinds[i % 3], false);
        theme.iconNameFor("/big/folder" + std::to_string(i), true);
    }
    EXPECT_EQ(theme.lookups(), 3);
    // "a.tar.gz" is of the kind seen already; "b.gz" is a new one.
    theme.iconNameFor("/big/a.tar.gz", false);
    theme.iconNameFor("/big/b.gz", false);
    EXPECT_EQ(theme.lookups(), 4);
}

TEST(QtIconThemeTest, NamesWithoutExtensionShareOneLookupUnlessTheDatabaseKnowsThem) {
    QtIconTheme theme;
    const std::string plain = theme.iconNameFor("/big/plain0", false);
    for (int i = 1; i < 2000; ++i)
        EXPECT_EQ(theme.iconNameFor("/big/plain" + std::to_string(i), false), plain);
    EXPECT_EQ(theme.lookups(), 1);
    QtIconTheme fresh;
    const std::string makefile = fresh.iconNameFor("/src/Makefile", false);
    const QMimeType type =
        QMimeDatabase().mimeTypeForFile(QStringLiteral("Makefile"), QMimeDatabase::MatchExtension);
    EXPECT_TRUE(makefile == type.iconName().toStdString() ||
                makefile == type.genericIconName().toStdString());
    EXPECT_NE(makefile, plain);
}

TEST(QtIconThemeTest, ANameTheDatabaseKnowsByItselfNeverTakesTheIconOfANameSeenBefore) {
    // Each pair: a name seen first, then one whose icon must not be borrowed from it.
    const std::pair<const char*, const char*> pairs[] = {
        {"/x/plain", "/x/README"},   {"/x/plain", "/x/notes~"},  {"/x/a.txt", "/x/CMakeLists.txt"},
        {"/x/plain", "/x/Makefile"}, {"/x/a.xml", "/x/pom.xml"}, {"/x/README", "/x/plain"}};
    for (const auto& [first, then] : pairs) {
        QtIconTheme alone;
        const std::string own = alone.iconNameFor(then, false);
        QtIconTheme shared;
        shared.iconNameFor(first, false);
        EXPECT_EQ(shared.iconNameFor(then, false), own) << first << " then " << then;
    }
}

TEST(BrowserWidgetTest, LeavingTheTreeForAnotherWidgetIsReported) {
    BrowserControls controls;
    RecordingBrowserInput input;
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* browser = new BrowserWidget(controls, input);
    auto* other = new QLineEdit;
    layout->addWidget(browser);
    layout->addWidget(other);
    window.show();
    QApplication::setActiveWindow(&window);
    browser->treeView()->setFocus(Qt::MouseFocusReason);
    other->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(input.callsStartingWith("tree focus"), (std::vector<std::string>{"tree focus lost"}));
}

TEST(BrowserWidgetTest, ControlsMayGoBeforeTheWidgetAtShutdown) {
    auto controls = std::make_unique<BrowserControls>();
    RecordingBrowserInput input;
    controls->treeControl.add("", TreeRelation::Child, "N0000", "/");
    ListItemData row;
    row.key = "L001";
    row.text = "a";
    controls->listControl.add(row);
    controls->drive1.setEntries({"/ [sda]"});
    auto widget = std::make_unique<BrowserWidget>(*controls, input);
    widget->show();
    controls.reset();
    EXPECT_EQ(widget->treeView()->model()->rowCount(), 0);
    EXPECT_EQ(widget->listView()->model()->rowCount(), 0);
    widget.reset();
}
