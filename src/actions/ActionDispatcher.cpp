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

std::string_view pickerTitle(int itemIndex) {
    switch (itemIndex) {
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

bool ActionDispatcher::inMask(std::string_view mask, int itemIndex) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%02d", itemIndex);
    return TextCase::find(mask, digits) != std::string_view::npos;
}

std::vector<std::string> ActionDispatcher::existing(Pane pane, bool foldersOnly,
                                                    bool firstOnly) const {
    std::vector<std::string> paths = selection_.selectedPaths(pane, foldersOnly, firstOnly);
    std::erase_if(paths, [](const std::string& path) { return !present(path); });
    return paths;
}

void ActionDispatcher::performAction(std::string_view menuFamily, int itemIndex,
                                     std::string_view sendToLink, Pane pane) {
    if (TextCase::equal(menuFamily, "SEND"))
        sendTo(sendToLink, pane);
    else if (TextCase::equal(menuFamily, "FOLD"))
        fold(itemIndex, pane);
    else if (TextCase::equal(menuFamily, "OPT"))
        opt(itemIndex, pane);
    else if (TextCase::equal(menuFamily, "SYE"))
        handOff_.openSystemFolder(itemIndex);
}

void ActionDispatcher::sendTo(std::string_view sendToLink, Pane pane) {
    const std::vector<std::string> paths = existing(pane, false, false);
    if (!paths.empty())
        handOff_.runPaths(paths, sendToLink, ShellHandOff::Mode::SendTo);
}

void ActionDispatcher::fold(int itemIndex, Pane pane) {
    if (inMask("02.08.10.14.16", itemIndex)) {
        foldOnSelection(itemIndex, {}, pane);
        return;
    }
    const std::vector<std::string> paths =
        existing(pane, itemIndex == 0, inMask("12.14ﾞ", itemIndex));
    if (!paths.empty())
        foldOnSelection(itemIndex, paths, pane);
}

void ActionDispatcher::foldOnSelection(int itemIndex, const std::vector<std::string>& paths,
                                       Pane pane) {
    using Mode = ShellHandOff::Mode;
    switch (itemIndex) {
    case 0:
        handOff_.runPaths(paths, {}, Mode::Explore);
        return;
    case 1:
        handOff_.runPaths(paths, {}, Mode::Open);
        return;
    case 2:
        handOff_.runPaths({}, {}, Mode::Find);
        return;
    default:
        break;
    }
    if (!actions_)
        return;
    switch (itemIndex) {
    case 6:
    case 7:
        actions_->putFilesOnClipboard(paths, itemIndex == 6);
        break;
    case 8:
        actions_->pasteFiles(pane);
        break;
    case 12:
        actions_->makeShortcuts(paths, {});
        break;
    case 13:
        actions_->deleteSelected(paths, pane);
        break;
    case 14:
        actions_->renameSelected(pane);
        break;
    case 16:
        actions_->makeNewFolder(pane);
        break;
    default:
        break;
    }
}

void ActionDispatcher::opt(int itemIndex, Pane pane) {
    std::string destination;
    if (inMask("02.04.05.07", itemIndex)) {
        if (!services_ || !services_->shell)
            return;
        destination = services_->shell->chooseFolder(root_, pickerTitle(itemIndex));
        if (destination.empty())
            return; // cancelled
    }
    if (!inMask("00,04.05.07.08.10.13", itemIndex)) {
        optOnSelection(itemIndex, {}, destination);
        return;
    }
    const std::vector<std::string> paths = existing(pane, false, false);
    if (!paths.empty())
        optOnSelection(itemIndex, paths, destination);
}

void ActionDispatcher::optOnSelection(int itemIndex, const std::vector<std::string>& paths,
                                      const std::string& destination) {
    if (itemIndex == 10) {
        copyPathNames(paths);
        return;
    }
    if (!actions_)
        return;
    switch (itemIndex) {
    case 4:
    case 5:
        if (actions_->runFileOperation(itemIndex == 4 ? FileOperationKind::Copy
                                                      : FileOperationKind::Move,
                                       paths, destination))
            actions_->refreshFolderNode(destination);
        break;
    case 7:
        actions_->makeShortcuts(paths, destination);
        break;
    case 8:
        actions_->makeShortcuts(paths, "*");
        break;
    case 11:
        actions_->copyListAsText();
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
