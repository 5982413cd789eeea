#include "platform/qt/QtFolderPicker.h"

#include "support/ModalDialog.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

TEST(QtFolderPickerTest, OpensOnTheInitialFolderWithTheTitleAndCancelsToNothing) {
    TempDir dir;
    const std::string initial = dir.mkdir("作成 先");
    QString title, shownFolder;
    whenDialogShows<QFileDialog>([&](QFileDialog& dialog) {
        title = dialog.windowTitle();
        shownFolder = dialog.directory().absolutePath();
        dialog.reject();
    });
    QtFolderPicker picker;
    EXPECT_EQ(picker.pickFolder(0, "ﾌｫﾙﾀﾞの指定", initial, "/"), "");
    EXPECT_EQ(title.toStdString(), "ﾌｫﾙﾀﾞの指定");
    EXPECT_EQ(shownFolder.toStdString(), initial);
}

TEST(QtFolderPickerTest, WithoutInitialFolderOpensOnTheRootAndReturnsTheChoice) {
    TempDir dir;
    const std::string chosen = dir.mkdir("選ぶ, フォルダ");
    QString shownFolder;
    whenDialogShows<QFileDialog>([&](QFileDialog& dialog) {
        shownFolder = dialog.directory().absolutePath();
        dialog.setDirectory(QString::fromStdString(chosen));
        static_cast<QDialog&>(dialog).accept(); // QFileDialog::accept, through its public base
    });
    QtFolderPicker picker;
    EXPECT_EQ(picker.pickFolder(0, "作成先", "", dir.path()), chosen);
    EXPECT_EQ(shownFolder.toStdString(), dir.path());
}
