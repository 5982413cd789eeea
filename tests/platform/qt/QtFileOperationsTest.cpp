#include "platform/qt/QtFileOperations.h"
#include "support/ModalDialog.h"
#include "support/TempDir.h"

#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
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
    FileOperationRequest request;
    request.kind = FileOperationKind::Copy;
    request.sources = {tmp / "src/a"};
    request.destination = tmp / "dst";
    EXPECT_TRUE(service.run(request));
    EXPECT_EQ(pressesDuringWork, 0);
    EXPECT_EQ(TempDir::read(tmp / "dst/a"), "old");
    EXPECT_EQ(TempDir::read(tmp / "dst/a (2)"), "new");
    request.sources.clear();
    EXPECT_FALSE(service.run(request));
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
    FileOperationRequest request;
    request.kind = FileOperationKind::Move;
    request.sources = {tmp / "src/a"};
    request.destination = tmp / "dst";
    EXPECT_FALSE(service.run(request));
    offered.sort();
    QStringList expected{"スキップ", "両方残す", "キャンセル"};
    expected.sort();
    EXPECT_EQ(offered, expected);
    EXPECT_EQ(TempDir::read(tmp / "dst/a"), "file");
    EXPECT_EQ(TempDir::read(tmp / "src/a/inside"), "folder");
}

} // namespace
