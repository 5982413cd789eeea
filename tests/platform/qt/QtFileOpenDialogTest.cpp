#include "platform/qt/QtFileOpenDialog.h"

#include "support/ModalDialog.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

TEST(QtFileOpenDialogTest, TurnsDescriptionAndPatternPairsIntoNameFilters) {
    EXPECT_EQ(QtFileOpenDialog::nameFilters("実行ﾌｧｲﾙ(*.exe)|*.exe|Arvenic|Arvenic"),
              (QStringList{"実行ﾌｧｲﾙ(*.exe)", "Arvenic (Arvenic)"}));
    EXPECT_EQ(QtFileOpenDialog::nameFilters(""), QStringList{});
}

TEST(QtFileOpenDialogTest, OpensInTheFolderWithTitleAndFirstFilterAndReturnsTheChoice) {
    TempDir dir;
    const std::string folder = dir.mkdir("ツール 置き場");
    const std::string exe = dir.write("ツール 置き場/Arvenic.exe", "");
    QString title, shown, filter;
    whenDialogShows<QFileDialog>([&](QFileDialog& dialog) {
        title = dialog.windowTitle();
        shown = dialog.directory().absolutePath();
        filter = dialog.selectedNameFilter();
        dialog.selectFile(QString::fromStdString(exe));
        static_cast<QDialog&>(dialog).accept();
    });
    QtFileOpenDialog chooser;
    EXPECT_EQ(chooser.chooseFile("Arvenic 実行ﾌｧｲﾙの指定", "Arvenic.exe",
                                 "実行ﾌｧｲﾙ(*.exe)|*.exe|Arvenic|Arvenic", folder),
              exe);
    EXPECT_EQ(title.toStdString(), "Arvenic 実行ﾌｧｲﾙの指定");
    EXPECT_EQ(shown.toStdString(), folder);
    EXPECT_EQ(filter.toStdString(), "実行ﾌｧｲﾙ(*.exe)");
}

TEST(QtFileOpenDialogTest, CancelGivesNothing) {
    whenDialogShows<QFileDialog>([](QFileDialog& dialog) { dialog.reject(); });
    QtFileOpenDialog chooser;
    EXPECT_EQ(chooser.chooseFile("t", "Belsor.exe", "x|*.exe", ""), "");
}
