#include "platform/qt/QtFindWindow.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <chrono>
#include <gtest/gtest.h>

namespace {

class QtFindWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir.write("docs/report.txt", "");
        dir.write("docs/old/Notes.TXT", "");
        dir.write("docs/picture.png", "");
        dir.write("caf\xe9.txt", "");
        window.setOpenHandler([this](const std::string& path) { opened.push_back(path); });
        window.show(dir.path());
    }

    // Lets the worker's batches arrive until the search has ended.
    void waitForTheEnd() {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (window.searching() && std::chrono::steady_clock::now() < until)
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        QApplication::processEvents();
    }

    template <typename W> W* child(const char* name) {
        auto* w = window.findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    std::vector<std::string> resultPaths() {
        std::vector<std::string> paths;
        auto* results = child<QTreeWidget>("results");
        for (int i = 0; i < results->topLevelItemCount(); ++i) {
            const QByteArray p = results->topLevelItem(i)->data(0, Qt::UserRole).toByteArray();
            paths.emplace_back(p.constData(), static_cast<std::size_t>(p.size()));
        }
        return paths;
    }

    TempDir dir;
    QtFindWindow window;
    std::vector<std::string> opened;
};

TEST_F(QtFindWindowTest, APatternSearchShowsNameAndFolderOfEveryMatch) {
    EXPECT_TRUE(window.isShown());
    EXPECT_EQ(child<QLineEdit>("folder")->text(), QString::fromUtf8(dir.path().c_str()));
    child<QLineEdit>("pattern")->setText(QStringLiteral("*.txt"));
    child<QPushButton>("search")->click();
    EXPECT_TRUE(window.searching());
    EXPECT_FALSE(child<QPushButton>("search")->isEnabled());
    waitForTheEnd();

    // A folder's own matches come before those of its sub-folders.
    EXPECT_EQ(resultPaths(), (std::vector<std::string>{dir / "caf\xe9.txt", dir / "docs/report.txt",
                                                       dir / "docs/old/Notes.TXT"}));
    auto* results = child<QTreeWidget>("results");
    EXPECT_EQ(results->topLevelItem(1)->text(0), QStringLiteral("report.txt"));
    EXPECT_EQ(results->topLevelItem(1)->text(1), QString::fromUtf8((dir / "docs").c_str()));
    EXPECT_EQ(child<QLabel>("status")->text(), QStringLiteral("3 件見つかりました"));
    EXPECT_TRUE(child<QPushButton>("search")->isEnabled());
}

TEST_F(QtFindWindowTest, ActivatingAResultHandsOverItsPathUnchanged) {
    child<QLineEdit>("pattern")->setText(QStringLiteral("caf"));
    window.startSearch();
    waitForTheEnd();
    auto* results = child<QTreeWidget>("results");
    ASSERT_EQ(results->topLevelItemCount(), 1);
    emit results->itemActivated(results->topLevelItem(0), 0);
    EXPECT_EQ(opened, (std::vector<std::string>{dir / "caf\xe9.txt"}));
}

TEST_F(QtFindWindowTest, ACancelledSearchStopsAtOnceAndANewOneStartsAfresh) {
    for (int i = 0; i < 100; ++i)
        dir.write("many/" + std::to_string(i) + "/x.txt", "");
    child<QLineEdit>("pattern")->setText(QStringLiteral("*.txt"));
    window.startSearch();
    child<QPushButton>("stop")->click();
    EXPECT_FALSE(window.searching());
    const int shownAtCancel = child<QTreeWidget>("results")->topLevelItemCount();
    EXPECT_TRUE(child<QLabel>("status")->text().startsWith(QStringLiteral("中止しました")));
    EXPECT_TRUE(child<QPushButton>("search")->isEnabled());
    EXPECT_FALSE(child<QPushButton>("stop")->isEnabled());
    for (int i = 0; i < 10; ++i)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(child<QTreeWidget>("results")->topLevelItemCount(), shownAtCancel)
        << "nothing arrives after a cancel";

    window.startSearch();
    waitForTheEnd();
    EXPECT_EQ(child<QTreeWidget>("results")->topLevelItemCount(), 103);
}

TEST_F(QtFindWindowTest, AFolderThatDoesNotExistIsReportedAndNothingRuns) {
    child<QLineEdit>("folder")->setText(QString::fromUtf8((dir / "gone").c_str()));
    window.startSearch();
    EXPECT_FALSE(window.searching());
    EXPECT_EQ(child<QLabel>("status")->text(), QStringLiteral("場所が見つかりません"));
}

} // namespace
