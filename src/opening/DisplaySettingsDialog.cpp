#include "opening/DisplaySettingsDialog.h"

#include "platform/MainWindowView.h"

#include <cmath>

namespace {

SettingsDialogForm makeForm() {
    SettingsDialogForm f;
    f.caption = "表示と開き方の設定";
    f.frames = {"一般文書の開き方", "Doc Xls Htm等の文書の開き方", "ﾌｫﾙﾀﾞのﾘﾝｸﾌｧｲﾙ"};
    f.generalOptions = {"通常に開く", "右側ﾌﾙｻｲｽﾞで開く"};
    f.doubleClickNote = "(ﾂﾘｰ・ﾘｽﾄ　ﾀﾞﾌﾞﾙｸﾘｯｸ時) ";
    f.documentOptions = {"通常に開く", "右側ﾌﾙｻｲｽﾞで開く", "ﾜｰﾄﾞ・ｴｸｾﾙ・IEを使い、複数開かない",
                         "ｷﾝｸﾞｵﾌｨｽ・IEを使い、複数開かない"};
    f.readOnly = "XLS・DOC文書は読込専用で開く";
    f.linkOptions = {"ｴｸｽﾌﾟﾛｰﾗｰで開く", "ﾂﾘｰで展開する"};
    f.extensionsLabel = "下記の拡張子のﾌｧｲﾙを開く時は、Tavrinを最小化する　(ｶﾝﾏ仕切)";
    f.ok = "Ok(&O)";
    f.cancel = "Cancel(&C)";
    return f;
}

int pixelsOf(double twips, double twipsPerPixel) {
    return static_cast<int>(std::nearbyint(twips / twipsPerPixel));
}

} // namespace

DisplaySettingsDialog::DisplaySettingsDialog(SettingsDialogView& view,
                                             const MainWindowView& mainWindow)
    : view_(view), mainWindow_(mainWindow) {}

const SettingsDialogForm& DisplaySettingsDialog::form() {
    static const SettingsDialogForm f = makeForm();
    return f;
}

SettingsDialogState DisplaySettingsDialog::preset(const DocumentOptions& options,
                                                  bool exploreFolderShortcuts) {
    const short fileOpenMode = options.fileOpenMode;
    const short officeOpenMode = options.officeOpenMode;
    SettingsDialogState s;
    // A value outside a group's range selects no button of it.
    s.general = (fileOpenMode == 0 || fileOpenMode == 1) ? fileOpenMode : -1;
    s.document = (officeOpenMode >= 0 && officeOpenMode <= 3) ? officeOpenMode : -1;
    s.readOnlyChecked = options.readOnly;
    // Fixed for the whole display: choosing another option inside does not change it.
    s.readOnlyEnabled = officeOpenMode > 1;
    s.link = exploreFolderShortcuts ? 0 : 1;
    s.extensions = options.minimiseExtensions;
    return s;
}

void DisplaySettingsDialog::edit(DocumentOptions& options, bool& exploreFolderShortcuts) {
    const SettingsDialogState initial = preset(options, exploreFolderShortcuts);
    accepted = false;
    const Point at = placement();
    const SettingsDialogOutcome outcome = view_.showModal(form(), initial, at.x, at.y);
    accepted = outcome.accepted;
    if (accepted)
        takeBack(outcome.state, options, exploreFolderShortcuts);
}

DisplaySettingsDialog::Point DisplaySettingsDialog::placement() const {
    const PixelRect frame = mainWindow_.frameGeometry();
    const double tppX = mainWindow_.twipsPerPixelX();
    const double tppY = mainWindow_.twipsPerPixelY();
    return {pixelsOf(frame.left * tppX + kOffsetLeftTwips, tppX),
            pixelsOf(frame.top * tppY + kOffsetTopTwips, tppY)};
}

void DisplaySettingsDialog::takeBack(const SettingsDialogState& state, DocumentOptions& options,
                                     bool& exploreFolderShortcuts) {
    options.fileOpenMode = state.general == 0 ? 0 : 1;
    options.officeOpenMode =
        (state.document >= 0 && state.document <= 2) ? static_cast<short>(state.document) : 3;
    options.readOnly = options.officeOpenMode > 1 && state.readOnlyChecked;
    exploreFolderShortcuts = state.link == 0;
    options.minimiseExtensions = state.extensions;
}
