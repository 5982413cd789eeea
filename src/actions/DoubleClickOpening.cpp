#include "actions/DoubleClickOpening.h"

#include "browser/BrowserState.h"
#include "browser/EntryKind.h"
#include "browser/FolderTree.h"
#include "opening/ShellServices.h"
#include "platform/MessageBox.h"
#include "platform/UiLoop.h"
#include "platform/fs/FileSystem.h"
#include "platform/text/PathText.h"
#include "platform/text/TextCase.h"

#include <filesystem>

bool DoubleClickOpening::isShortcut(const std::string& path) {
    return path.size() >= 4 && TextCase::lower(path.substr(path.size() - 4)) == ".lnk";
}

void DoubleClickOpening::raise(const std::string& path, OpenMode mode) {
    std::string pathToOpen = path;
    opener_.open(pathToOpen, mode);
}

void DoubleClickOpening::treeDoubleClicked(const std::string& key) {
    // The press that began the double-click made the node the list's node; a press that
    // did not (outside the nodes, or while busy) opens nothing.
    const TreeNode* node = tree_.currentNode();
    if (key.empty() || !node || node->key() != key)
        return;
    if (EntryKinds::of(node) != EntryKind::File) {
        toggle(key);
        return;
    }
    openFile(tree_.fullPath(node), true);
}

void DoubleClickOpening::toggle(const std::string& key) {
    TreeControl& tree = state_.c.treeControl;
    TreeNode* node = tree.find(key);
    if (node->expanded()) {
        tree.collapse(node);
        return;
    }
    tree.expand(node);
    tree_.onTreeExpand(key);
}

void DoubleClickOpening::listDoubleClicked(const std::string& key) {
    if (!key.empty())
        openRow(key);
}

void DoubleClickOpening::listEnter() {
    if (const ListItem* current = state_.c.listControl.current())
        openRow(std::string(current->key()));
}

void DoubleClickOpening::openRow(const std::string& key) {
    const ListItem* row = state_.c.listControl.find(key);
    if (!row || !tree_.currentNode())
        return;
    WaitCursor wait(loop_);
    BusyScope busy(state_);
    std::string folder = tree_.nodePath(tree_.currentNode());
    if (folder.empty())
        return;
    PathText::withSeparator(folder);
    const std::string name(row->text());
    if (EntryKinds::of(row) == EntryKind::File)
        openFile(folder + name, false);
    else
        openFolderRow(folder, name);
}

void DoubleClickOpening::openFile(const std::string& path, bool fromTree) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (isShortcut(path))
        openShortcut(path, fromTree);
    else if (fs::is_symlink(fs::symlink_status(path, error)) && !fs::exists(path, error))
        tellMissingTarget(path, fs::read_symlink(path, error).string());
    else
        raise(path, OpenMode::Document);
}

void DoubleClickOpening::tellMissingTarget(const std::string& link, const std::string& target) {
    messages_.inform("「" + link + "」のリンク先が見つかりません。\r" + target);
}

void DoubleClickOpening::openShortcut(const std::string& link, bool fromTree) {
    const std::string target = ShellServices::shortcutTarget(link);
    if (target.empty() || target == link)
        return;
    if (FileSystem::folderExists(target)) {
        if (state_.exploreFolderShortcuts)
            raise(target, fromTree ? OpenMode::Explore : OpenMode::Document);
        else
            tree_.setRoot(target);
    } else if (FileSystem::fileExists(target)) {
        raise(target, OpenMode::Document);
    } else {
        tellMissingTarget(link, target);
    }
}

void DoubleClickOpening::openFolderRow(const std::string& folder, const std::string& name) {
    TreeControl& tree = state_.c.treeControl;
    TreeNode* listNode = tree_.currentNode();
    const std::string listKey = listNode->key();
    tree.expand(listNode);
    tree_.onTreeExpand(listKey);
    tree_.loadChildrenOfPath(folder + name);
    if (const TreeNode* selected = tree.selected())
        state_.listNodeKey = selected->key();
}
