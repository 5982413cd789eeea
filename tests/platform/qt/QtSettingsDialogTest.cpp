#include "platform/qt/QtSettingsDialog.h"

#include "opening/DisplaySettingsDialog.h"

#include "support/ModalDialog.h"
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <functional>

#include <gtest/gtest.h>

namespace {

template <typename W> W* find(QDialog& dialog, const char* text) {
    for (W* w : dialog.findChildren<W*>())
        if (w->text() == QString::fromUtf8(text))
            return w;
    return nullptr;
}

QRadioButton* option(QDialog& dialog, const char* frame, const char* text) {
    for (QGroupBox* box : dialog.findChildren<QGroupBox*>())
        if (box->title() == QString::fromUtf8(frame))
            for (QRadioButton* b : box->findChildren<QRadioButton*>())
                if (b->text() == QString::fromUtf8(text))
                    return b;
    return nullptr;
}

SettingsDialogState initialState() {
    return DisplaySettingsDialog::preset(
        {.fileOpenMode = 1, .officeOpenMode = 0, .readOnly = false, .minimiseExtensions = "EXE"},
        true);
}

} // namespace

TEST(QtSettingsDialogTest, ShowsEveryCaptionWithThePresetAtThePlaceAsked) {
    QStringList frames, labels;
    bool readOnlyEnabled = true, generalRight = false, explorer = false;
    QString caption, text;
    QPoint at;
    whenDialogShows<QDialog>([&](QDialog& dialog) {
        caption = dialog.windowTitle();
        at = dialog.pos();
        for (QGroupBox* box : dialog.findChildren<QGroupBox*>())
            frames << box->title();
        for (QLabel* label : dialog.findChildren<QLabel*>())
            labels << label->text();
        readOnlyEnabled = find<QCheckBox>(dialog, "XLS・DOC文書は読込専用で開く")->isEnabled();
        generalRight = option(dialog, "一般文書の開き方", "右側ﾌﾙｻｲｽﾞで開く")->isChecked();
        explorer = option(dialog, "ﾌｫﾙﾀﾞのﾘﾝｸﾌｧｲﾙ", "ｴｸｽﾌﾟﾛｰﾗｰで開く")->isChecked();
        text = dialog.findChild<QLineEdit*>()->text();
        EXPECT_TRUE(find<QPushButton>(dialog, "Ok(&O)"));
        find<QPushButton>(dialog, "Cancel(&C)")->click();
    });
    QtSettingsDialog view;
    const SettingsDialogOutcome outcome =
        view.showModal(DisplaySettingsDialog::form(), initialState(), 120, 340);
    EXPECT_FALSE(outcome.accepted);
    EXPECT_EQ(caption.toStdString(), "表示と開き方の設定");
    EXPECT_EQ(at, QPoint(120, 340));
    EXPECT_EQ(frames,
              (QStringList{"一般文書の開き方", "Doc Xls Htm等の文書の開き方", "ﾌｫﾙﾀﾞのﾘﾝｸﾌｧｲﾙ"}));
    EXPECT_TRUE(labels.contains("(ﾂﾘｰ・ﾘｽﾄ　ﾀﾞﾌﾞﾙｸﾘｯｸ時) "));
    EXPECT_TRUE(labels.contains("下記の拡張子のﾌｧｲﾙを開く時は、Tavrinを最小化する　(ｶﾝﾏ仕切)"));
    EXPECT_FALSE(readOnlyEnabled);
    EXPECT_TRUE(generalRight);
    EXPECT_TRUE(explorer);
    EXPECT_EQ(text.toStdString(), "EXE");
}

TEST(QtSettingsDialogTest, OkReturnsWhatWasChosenAndChoosingDoesNotEnableReadOnly) {
    bool readOnlyEnabledAfterChoice = true;
    whenDialogShows<QDialog>([&](QDialog& dialog) {
        option(dialog, "一般文書の開き方", "通常に開く")->click();
        option(dialog, "Doc Xls Htm等の文書の開き方", "ｷﾝｸﾞｵﾌｨｽ・IEを使い、複数開かない")->click();
        option(dialog, "ﾌｫﾙﾀﾞのﾘﾝｸﾌｧｲﾙ", "ﾂﾘｰで展開する")->click();
        dialog.findChild<QLineEdit*>()->setText(QString::fromUtf8(" zip,文書 "));
        readOnlyEnabledAfterChoice =
            find<QCheckBox>(dialog, "XLS・DOC文書は読込専用で開く")->isEnabled();
        find<QPushButton>(dialog, "Ok(&O)")->click();
    });
    QtSettingsDialog view;
    const SettingsDialogOutcome outcome =
        view.showModal(DisplaySettingsDialog::form(), initialState(), 0, 0);
    EXPECT_TRUE(outcome.accepted);
    EXPECT_FALSE(readOnlyEnabledAfterChoice);
    EXPECT_EQ(outcome.state.general, 0);
    EXPECT_EQ(outcome.state.document, 3);
    EXPECT_EQ(outcome.state.link, 1);
    EXPECT_EQ(outcome.state.extensions, " zip,文書 ");
}

TEST(QtSettingsDialogTest, TheCloseBoxCountsAsCancel) {
    whenDialogShows<QDialog>([](QDialog& dialog) { dialog.close(); });
    QtSettingsDialog view;
    EXPECT_FALSE(view.showModal(DisplaySettingsDialog::form(), initialState(), 0, 0).accepted);
}
