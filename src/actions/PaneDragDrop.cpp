#include "actions/PaneDragDrop.h"

#include "actions/FileActions.h"
#include "browser/BrowserState.h"
#include "browser/EntryKind.h"
#include "browser/FolderTree.h"
#include "browser/TreeWatch.h"
#include "platform/UiLoop.h"
#include "platform/fs/FileSystem.h"
#include "platform/text/PathText.h"

#include <algorithm>

namespace {

constexpr int kShiftAlone = 1;

// The dropped items that are not in `target` already and are not `target` itself: a
// stray drag inside a pane, or a folder dropped onto its own node, brings nothing. Names
// differ by case on this file system, so only the very same path is the same folder.
std::vector<std::string> itemsToBring(const std::vector<std::string>& paths,
                                      const std::string& target) {
    std::vector<std::string> items;
    for (const std::string& path : paths) {
        std::string item = path;
        PathText::withoutSeparator(item);
        if (item != target && FileSystem::parentOf(item) != target)
            items.push_back(path);
    }
    return items;
}

} // namespace

PaneDragDrop::PaneDragDrop(BrowserState& state, FolderTree& tree, TreeWatch& watch, UiLoop& loop)
    : state_(state), tree_(tree), watch_(watch), loop_(loop), selection_(state, tree) {}

std::vector<std::string> PaneDragDrop::treeDragStarting() {
    const auto& tree = state_.c.treeControl;
    const TreeNode* pointed = state_.pointedKey.empty() ? nullptr : tree.find(state_.pointedKey);
    if (!tree.selected() || !pointed)
        return {};
    watch_.markNode(3);
    return {tree_.fullPath(pointed)};
}

std::vector<std::string> PaneDragDrop::listDragStarting() {
    if (!tree_.currentNode())
        return {};
    return selection_.selectedPaths(Pane::List, SelectionScope::All);
}

void PaneDragDrop::treeDragOver(const std::string& key, DragState state) {
    const TreeNode* node = key.empty() ? nullptr : state_.c.treeControl.find(key);
    if (!node || EntryKinds::of(node) == EntryKind::File) {
        watch_.markNode(4);
        return;
    }
    if (state != DragState::Over || key == state_.hoverKey)
        return;
    watch_.markNode(4);
    state_.hoverKey = key;
    watch_.markNode(5);
}

void PaneDragDrop::listDragOver(const std::string& key, DragState state) {
    ListItem* row = key.empty() ? nullptr : state_.c.listControl.find(key);
    if (!row || EntryKinds::of(row) == EntryKind::File) {
        unboldDropRow();
        return;
    }
    if (state != DragState::Over || key == state_.dropRowKey)
        return;
    unboldDropRow();
    state_.c.listControl.setBold(row, true);
    state_.dropRowKey = key;
}

void PaneDragDrop::unboldDropRow() {
    if (ListItem* row =
            state_.dropRowKey.empty() ? nullptr : state_.c.listControl.find(state_.dropRowKey))
        state_.c.listControl.setBold(row, false);
    state_.dropRowKey.clear();
}

DropOutcome PaneDragDrop::treeDropped(const std::string& key, const std::vector<std::string>& paths,
                                      KeyModifiers modifiers) {
    const TreeNode* node = key.empty() ? nullptr : state_.c.treeControl.find(key);
    if (state_.busy || paths.empty() || !node || EntryKinds::of(node) == EntryKind::File)
        return DropOutcome::Nothing;
    WaitCursor wait(loop_);
    const std::string target = tree_.nodePath(node);
    watch_.markNode(2);
    DropOutcome outcome = DropOutcome::Nothing;
    if (!target.empty()) {
        outcome = copyOrMove(paths, target, modifiers);
        if (outcome != DropOutcome::Nothing)
            watch_.refreshNode(key, false);
    }
    watch_.markNode(4);
    return outcome;
}

DropOutcome PaneDragDrop::listDropped(const std::string& key, const std::vector<std::string>& paths,
                                      KeyModifiers modifiers) {
    unboldDropRow();
    const TreeNode* node = tree_.currentNode();
    if (state_.busy || paths.empty() || !node)
        return DropOutcome::Nothing;
    const std::string nodeKey = node->key();
    std::string target = tree_.nodePath(node);
    const ListItem* row = key.empty() ? nullptr : state_.c.listControl.find(key);
    if (!target.empty() && row && EntryKinds::of(row) == EntryKind::Folder)
        target = PathText::child(target, row->text());
    if (target.empty())
        return DropOutcome::Nothing;
    const DropOutcome outcome = copyOrMove(paths, target, modifiers);
    if (outcome != DropOutcome::Nothing)
        watch_.refreshNode(nodeKey, false);
    return outcome;
}

DropOutcome PaneDragDrop::copyOrMove(const std::vector<std::string>& paths,
                                     const std::string& target, KeyModifiers modifiers) {
    const bool move = modifiers.state() == kShiftAlone;
    const std::vector<std::string> items = itemsToBring(paths, target);
    if (items.empty() || !actions_ ||
        !actions_->runFileOperation(move ? FileOperationKind::Move : FileOperationKind::Copy, items,
                                    target))
        return DropOutcome::Nothing;
    if (!move)
        return DropOutcome::Copied;
    refreshSourceFolders(items, target);
    return DropOutcome::Moved;
}

void PaneDragDrop::refreshSourceFolders(const std::vector<std::string>& paths,
                                        const std::string& target) {
    std::vector<std::string> folders;
    for (std::string path : paths) {
        PathText::withoutSeparator(path);
        std::string folder = FileSystem::parentOf(path);
        if (folder != target && std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(std::move(folder));
    }
    for (const std::string& folder : folders)
        actions_->refreshFolderNode(folder);
}
