#include "actions/ActionDispatcher.h"

#include "actions/FileActions.h"
#include "actions/SelectionCollector.h"
#include "actions/ShellHandOff.h"
#include "opening/ShellServices.h"
#include "platform/Clipboard.h"

#include <filesystem>

namespace {

// An item is there when its directory entry is, a broken symbolic link included.
bool present(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

} // namespace

ActionDispatcher::Needs ActionDispatcher::needsOf(BrowserCommand command) {
    using enum BrowserCommand;
    Needs needs;
    switch (command) {
    case Find:
    case Paste:
    case Rename:
    case NewFolder:
    case CopyListAsText:
    case Undo:
        needs.selection = false;
        break;
    case Explore:
        needs.scope = SelectionScope::Folders;
        break;
    case MakeShortcut:
        needs.scope = SelectionScope::First;
        break;
    case CopyTo:
        needs.destinationTitle = "複写先";
        break;
    case MoveTo:
        needs.destinationTitle = "移動先";
        break;
    case MakeShortcutIn:
        needs.destinationTitle = "作成先";
        break;
    default:
        break;
    }
    return needs;
}

std::vector<std::string> ActionDispatcher::existing(Pane pane, SelectionScope scope) const {
    std::vector<std::string> paths = selection_.selectedPaths(pane, scope);
    std::erase_if(paths, [](const std::string& path) { return !present(path); });
    return paths;
}

void ActionDispatcher::perform(BrowserCommand command, Pane pane, std::string_view sendToLink) {
    const Needs needs = needsOf(command);
    std::string destination;
    if (!needs.destinationTitle.empty()) {
        if (!services_ || !services_->shell)
            return;
        destination = services_->shell->chooseFolder(root_, needs.destinationTitle);
        if (destination.empty())
            return; // cancelled
    }
    std::vector<std::string> paths;
    if (needs.selection) {
        paths = existing(pane, needs.scope);
        if (paths.empty())
            return;
    }
    performOn(command, paths, destination, pane, sendToLink);
}

void ActionDispatcher::performOn(BrowserCommand command, const std::vector<std::string>& paths,
                                 const std::string& destination, Pane pane,
                                 std::string_view sendToLink) {
    using Mode = ShellHandOff::Mode;
    switch (command) {
    case BrowserCommand::Explore:
        handOff_.runPaths(paths, {}, Mode::Explore);
        return;
    case BrowserCommand::Open:
        handOff_.runPaths(paths, {}, Mode::Open);
        return;
    case BrowserCommand::Find:
        handOff_.runPaths({}, {}, Mode::Find);
        return;
    case BrowserCommand::SendTo:
        handOff_.runPaths(paths, sendToLink, Mode::SendTo);
        return;
    case BrowserCommand::CopyPathNames:
        copyPathNames(paths);
        return;
    default:
        if (actions_)
            performFileAction(command, paths, destination, pane);
    }
}

void ActionDispatcher::performFileAction(BrowserCommand command,
                                         const std::vector<std::string>& paths,
                                         const std::string& destination, Pane pane) {
    switch (command) {
    case BrowserCommand::Cut:
    case BrowserCommand::Copy:
        actions_->putFilesOnClipboard(paths, command == BrowserCommand::Cut);
        break;
    case BrowserCommand::Paste:
        actions_->pasteFiles(pane);
        break;
    case BrowserCommand::MakeShortcut:
        actions_->makeShortcuts(paths, {});
        break;
    case BrowserCommand::Delete:
        actions_->deleteSelected(paths, pane);
        break;
    case BrowserCommand::Rename:
        actions_->renameSelected(pane);
        break;
    case BrowserCommand::NewFolder:
        actions_->makeNewFolder(pane);
        break;
    case BrowserCommand::CopyTo:
    case BrowserCommand::MoveTo:
        if (actions_->runFileOperation(command == BrowserCommand::CopyTo ? FileOperationKind::Copy
                                                                         : FileOperationKind::Move,
                                       paths, destination))
            actions_->refreshFolderNode(destination);
        break;
    case BrowserCommand::MakeShortcutIn:
        actions_->makeShortcuts(paths, destination);
        break;
    case BrowserCommand::MakeShortcutAndCut:
        actions_->makeShortcuts(paths, "*");
        break;
    case BrowserCommand::CopyListAsText:
        actions_->copyListAsText();
        break;
    case BrowserCommand::Undo:
        actions_->undoLast();
        break;
    default:
        break;
    }
}

bool ActionDispatcher::canUndo() const {
    return actions_ && actions_->canUndo();
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
