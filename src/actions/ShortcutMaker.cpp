#include "actions/ShortcutMaker.h"

#include "actions/FileActions.h"
#include "browser/BrowserState.h"
#include "browser/FileList.h"
#include "browser/FolderTree.h"
#include "browser/PathText.h"
#include "platform/fs/FileSystem.h"
#include "platform/desktop/ShellLink.h"
#include "platform/text/TextCase.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>

namespace {

// Tried names per shortcut before giving up on a crowded folder.
constexpr int kMaxCopies = 1000;

// An item is there when its directory entry is, a broken symbolic link included.
bool present(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

} // namespace

std::string ShortcutMaker::linkName(std::string_view itemName, int copy) {
    // A leading dot starts a hidden name, not an extension.
    const std::size_t dot = itemName.rfind('.');
    const std::string_view stem =
        dot == std::string_view::npos || dot == 0 ? itemName : itemName.substr(0, dot);
    std::string name(stem);
    if (copy > 1)
        name += " (" + std::to_string(copy) + ")";
    return name + ".lnk";
}

std::optional<std::string> ShortcutMaker::write(const std::string& item,
                                                const std::string& folder) {
    const std::string itemName = FileSystem::nameOf(item);
    if (itemName.empty())
        return std::nullopt;
    for (int copy = 1; copy <= kMaxCopies; ++copy) {
        const std::string link = PathText::child(folder, linkName(itemName, copy));
        FileFault fault;
        if (ShellLink::create(link, item, folder, fault))
            return link;
        if (fault.error != EEXIST)
            return std::nullopt;
    }
    return std::nullopt;
}

void ShortcutMaker::makeShortcuts(const std::vector<std::string>& paths, const std::string& destination) {
    BusyScope busy(state_);
    const bool cut = TextCase::equal(destination, kCut);
    std::string chosen = cut ? std::string() : destination;
    PathText::withoutSeparator(chosen);
    std::vector<std::string> made;
    std::vector<std::string> folders;
    for (const std::string& item : paths) {
        if (item.empty() || !present(item))
            continue;
        const std::string folder = chosen.empty() ? FileSystem::parentOf(item) : chosen;
        const auto link = write(item, folder);
        if (!link)
            return;
        made.push_back(*link);
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(folder);
    }
    updatePanes(folders, chosen);
    if (cut && !made.empty())
        actions_.putFilesOnClipboard(made, true);
}

void ShortcutMaker::updatePanes(const std::vector<std::string>& folders,
                                const std::string& destination) {
    // In the tree-only view the shortcuts are file nodes of their folders.
    if (!state_.showList)
        for (const std::string& folder : folders)
            actions_.refreshFolderNode(folder);
    const TreeNode* listed = tree_.currentNode();
    if (listed && (destination.empty() || TextCase::equal(tree_.fullPath(listed), destination)))
        list_.refreshList();
}
