#include "actions/ActionDispatcher.h"

#include "actions/FileActions.h"
#include "actions/SelectionCollector.h"
#include "actions/ShellHandOff.h"
#include "opening/ShellServices.h"
#include "platform/Clipboard.h"
#include "platform/text/TextCase.h"

#include <cstdio>
#include <filesystem>

namespace {

// An item is there when its directory entry is, a broken symbolic link included.
bool present(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

std::string_view pickerTitle(int iNdx) {
    switch (iNdx) {
    case 4:
        return "複写先";
    case 5:
        return "移動先";
    case 7:
        return "作成先";
    default:
        return {};
    }
}

} // namespace

bool ActionDispatcher::inMask(std::string_view mask, int iNdx) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%02d", iNdx);
    return TextCase::find(mask, digits) != std::string_view::npos;
}

std::vector<std::string> ActionDispatcher::existing(bool bTrv, bool foldersOnly,
                                                    bool firstOnly) const {
    std::vector<std::string> paths = selection_.sGtSlc(bTrv, foldersOnly, firstOnly);
    std::erase_if(paths, [](const std::string& path) { return !present(path); });
    return paths;
}

void ActionDispatcher::trAct(std::string_view sGrp, int iNdx, std::string_view sLnk, bool bTrv) {
    if (TextCase::equal(sGrp, "SEND"))
        sendTo(sLnk, bTrv);
    else if (TextCase::equal(sGrp, "FOLD"))
        fold(iNdx, bTrv);
    else if (TextCase::equal(sGrp, "OPT"))
        opt(iNdx, bTrv);
    else if (TextCase::equal(sGrp, "SYE"))
        handOff_.OpnSysFld(iNdx);
}

void ActionDispatcher::sendTo(std::string_view sLnk, bool bTrv) {
    const std::vector<std::string> paths = existing(bTrv, false, false);
    if (!paths.empty())
        handOff_.RunPh(paths, sLnk, ShellHandOff::Mode::SendTo);
}

void ActionDispatcher::fold(int iNdx, bool bTrv) {
    if (inMask("02.08.10.14.16", iNdx)) {
        foldOnSelection(iNdx, {}, bTrv);
        return;
    }
    const std::vector<std::string> paths = existing(bTrv, iNdx == 0, inMask("12.14ﾞ", iNdx));
    if (!paths.empty())
        foldOnSelection(iNdx, paths, bTrv);
}

void ActionDispatcher::foldOnSelection(int iNdx, const std::vector<std::string>& paths, bool bTrv) {
    using Mode = ShellHandOff::Mode;
    switch (iNdx) {
    case 0:
        handOff_.RunPh(paths, {}, Mode::Explore);
        return;
    case 1:
        handOff_.RunPh(paths, {}, Mode::Open);
        return;
    case 2:
        handOff_.RunPh({}, {}, Mode::Find);
        return;
    default:
        break;
    }
    if (!actions_)
        return;
    switch (iNdx) {
    case 6:
    case 7:
        actions_->ClpSetFL(paths, iNdx == 6);
        break;
    case 8:
        actions_->ClpPast(bTrv);
        break;
    case 12:
        actions_->MkLnk(paths, {});
        break;
    case 13:
        actions_->DelSlc(paths, bTrv);
        break;
    case 14:
        actions_->RenSlc(bTrv);
        break;
    case 16:
        actions_->MkNwFld(bTrv);
        break;
    default:
        break;
    }
}

void ActionDispatcher::opt(int iNdx, bool bTrv) {
    std::string destination;
    if (inMask("02.04.05.07", iNdx)) {
        if (!services_ || !services_->shell)
            return;
        destination = services_->shell->SelFld(root_, pickerTitle(iNdx));
        if (destination.empty())
            return; // cancelled
    }
    if (!inMask("00,04.05.07.08.10.13", iNdx)) {
        optOnSelection(iNdx, {}, destination);
        return;
    }
    const std::vector<std::string> paths = existing(bTrv, false, false);
    if (!paths.empty())
        optOnSelection(iNdx, paths, destination);
}

void ActionDispatcher::optOnSelection(int iNdx, const std::vector<std::string>& paths,
                                      const std::string& destination) {
    if (iNdx == 10) {
        copyPathNames(paths);
        return;
    }
    if (!actions_)
        return;
    switch (iNdx) {
    case 4:
    case 5:
        if (actions_->FlOpr(iNdx == 4 ? "複写" : "移動", paths, destination, false, false))
            actions_->trRfPh(destination);
        break;
    case 7:
        actions_->MkLnk(paths, destination);
        break;
    case 8:
        actions_->MkLnk(paths, "*");
        break;
    case 11:
        actions_->ClpLst();
        break;
    default:
        break;
    }
}

void ActionDispatcher::copyPathNames(const std::vector<std::string>& paths) {
    if (!services_ || !services_->clipboard)
        return;
    std::string text;
    for (const std::string& path : paths) {
        if (!text.empty())
            text += '\r';
        text += path;
    }
    services_->clipboard->setText(text);
}
