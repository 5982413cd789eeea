#include "platform/qt/QtFileOperations.h"
#include "platform/fs/FileSystem.h"
#include "platform/qt/QtJapanese.h"
#include "platform/qt/QtProgressWindow.h"
#include "support/ModalDialog.h"
#include "support/TempDir.h"
#include "support/TmpfsMount.h"

#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class CountingWidget : public QWidget {
  public:
    int presses = 0;

  protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }
};

QAbstractButton* buttonNamed(QMessageBox& box, const QString& text) {
    for (QAbstractButton* button : box.buttons())
        if (button->text() == text)
            return button;
    return nullptr;
}

TEST(QtFileOperations, WorkerQuestionsAreAnsweredOnTheWindowAndInputIsHeldOff) {
    TempDir tmp;
    tmp.write("src/a", "new");
    tmp.write("dst/a", "old");
    CountingWidget owner;
    owner.show();
    QtFileOperations service(&owner);
    int pressesDuringWork = -1;
    whenDialogShows<QMessageBox>([&](QMessageBox& box) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&owner, &press);
        pressesDuringWork = owner.presses;
        buttonNamed(box, QStringLiteral("両方残す"))->click();
    });
    FileOperationRequest request{FileOperationKind::Copy, {tmp / "src/a"}, tmp / "dst"};
    EXPECT_TRUE(service.run(request).allDone);
    EXPECT_EQ(pressesDuringWork, 0);
    EXPECT_EQ(TempDir::read(tmp / "dst/a"), "old");
    EXPECT_EQ(TempDir::read(tmp / "dst/a (2)"), "new");
    request.sources.clear();
    EXPECT_FALSE(service.run(request).allDone);
}

TEST(QtFileOperations, AFolderMeetingAFileIsNotOfferedToReplaceIt) {
    TempDir tmp;
    tmp.write("src/a/inside", "folder");
    tmp.write("dst/a", "file");
    QWidget owner;
    QtFileOperations service(&owner);
    QStringList offered;
    whenDialogShows<QMessageBox>([&](QMessageBox& box) {
        for (QAbstractButton* button : box.buttons())
            offered << button->text();
        EXPECT_TRUE(
            box.text().contains(QStringLiteral("フォルダーとファイルは置き換えられません")));
        buttonNamed(box, QStringLiteral("スキップ"))->click();
    });
    FileOperationRequest request{FileOperationKind::Move, {tmp / "src/a"}, tmp / "dst"};
    EXPECT_FALSE(service.run(request).allDone);
    offered.sort();
    QStringList expected{"スキップ", "両方残す", "キャンセル"};
    expected.sort();
    EXPECT_EQ(offered, expected);
    EXPECT_EQ(TempDir::read(tmp / "dst/a"), "file");
    EXPECT_EQ(TempDir::read(tmp / "src/a/inside"), "folder");
}

TEST(QtFileOperations, TheProgressWindowNeverOpensBehindAQuestion) {
    TempDir tmp;
    const std::string file = tmp.write("a", "x");
    QWidget owner;
    owner.show();
    QtFileOperations service(&owner, 0);
    bool progressShown = true;
    whenDialogShows<QMessageBox>([&](QMessageBox& box) {
        QTest::qWait(350); // several ticks of the progress window's clock
        progressShown = false;
        for (QWidget* window : QApplication::topLevelWidgets())
            progressShown |= dynamic_cast<QtProgressWindow*>(window) && window->isVisible();
        box.button(QMessageBox::No)->click();
    });
    FileOperationRequest request{FileOperationKind::Delete, {file}, {}};
    EXPECT_FALSE(service.run(request).allDone);
    EXPECT_FALSE(progressShown);
    EXPECT_TRUE(FileSystem::fileExists(file));
}

TEST(QtFileOperations, AWriteRefusedByAFolderNamesThatFolder) {
    TempDir tmp;
    const std::string ro = tmp.mkdir("ro");
    TmpfsMount mount(ro, "size=64k");
    if (!mount.mounted())
        GTEST_SKIP() << "no tmpfs may be mounted here";
    tmp.write("ro/in.txt", "i");
    tmp.write("out/data.csv", "d");
    ASSERT_TRUE(mount.makeReadOnly());
    struct Case {
        FileOperationKind kind;
        std::string source;
        std::string destination;
    };
    for (const Case& c : {Case{FileOperationKind::Copy, tmp / "out/data.csv", ro},
                          Case{FileOperationKind::Move, ro + "/in.txt", tmp / "out"}}) {
        QWidget owner;
        QtFileOperations service(&owner);
        QString text;
        whenDialogShows<QMessageBox>([&](QMessageBox& box) {
            text = box.text();
            buttonNamed(box, QStringLiteral("キャンセル"))->click();
        });
        FileOperationRequest request{c.kind, {c.source}, c.destination};
        EXPECT_FALSE(service.run(request).allDone);
        EXPECT_TRUE(text.startsWith(QString::fromStdString("「" + ro + "」に書き込めません")))
            << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("読み取り専用のﾌｧｲﾙｼｽﾃﾑです")));
    }
}

TEST(QtFileOperations, QtsOwnTextsInTheQuestionAndTheProgressAreJapanese) {
    QtJapanese japanese;
    ASSERT_TRUE(japanese.loaded()) << "Qt's translations (qt6-translations-l10n) are installed";
    TempDir tmp;
    const std::string file = tmp.write("a", "x");
    QWidget owner;
    QtFileOperations service(&owner, 0);
    QStringList buttons;
    QString counts;
    whenDialogShows<QMessageBox>([&](QMessageBox& box) {
        for (QAbstractButton* button : box.buttons())
            buttons << button->text();
        QtProgressWindow progress(&owner, {});
        FileOperationStatus status;
        status.bytesTotal = 500;
        progress.show(status, 0);
        counts = progress.findChildren<QLabel*>().at(1)->text();
        box.button(QMessageBox::No)->click();
    });
    FileOperationRequest request{FileOperationKind::Delete, {file}, {}};
    EXPECT_FALSE(service.run(request).allDone);
    buttons.sort();
    EXPECT_EQ(buttons.join(" ").toStdString(), "いいえ(&N) はい(&Y)");
    EXPECT_FALSE(counts.contains(QStringLiteral("byte"))) << counts.toStdString();
}

} // namespace
