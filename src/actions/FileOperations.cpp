#include "actions/FileOperations.h"

#include "browser/BrowserState.h"
#include "browser/EntryKind.h"
#include "browser/FileList.h"
#include "browser/FolderTree.h"
#include "browser/ListTexts.h"
#include "browser/TreeWatch.h"
#include "platform/FileOperationService.h"
#include "platform/MessageBox.h"
#include "platform/ScopedFlag.h"
#include "platform/UiLoop.h"
#include "platform/fs/FileSystem.h"
#include "platform/text/PathText.h"
#include "platform/text/SystemErrorText.h"
#include "platform/text/TextCase.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>

namespace {

// A name that stays one entry of its folder: not empty, no separator, not "." or "..".
bool validName(const std::string& name) {
    return !name.empty() && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos && name != "." && name != "..";
}

// A file's rename starts on its name without the extension; a folder's on the whole name.
LabelPart partToSelect(EntryKind kind) {
    return kind == EntryKind::File ? LabelPart::Stem : LabelPart::Whole;
}

} // namespace

FileOperations::FileOperations(BrowserState& state, FolderTree& tree, FileList& list,
                               TreeWatch& watch, UiLoop& loop, MessageBox& messages,
                               std::function<void(bool)> setTimer)
    : state_(state), tree_(tree), list_(list), watch_(watch), loop_(loop), messages_(messages),
      setTimer_(std::move(setTimer)), clipboard_(state, tree, *this),
      shortcuts_(state, tree, list, *this), undo_(messages) {}

bool FileOperations::runFileOperation(FileOperationKind kind,
                                      const std::vector<std::string>& sources,
                                      const std::string& destination) {
    FileOperationRequest request;
    for (const std::string& source : sources)
        if (!source.empty())
            request.sources.push_back(source);
    if (request.sources.empty() || !service_ || running_)
        return false;
    request.kind = kind;
    request.destination = kind == FileOperationKind::Delete ? std::string() : destination;
    BusyScope busy(state_);
    ScopedFlag running(running_);
    const FileOperationResult result = service_->run(request);
    recordResult(kind, result);
    return result.allDone;
}

void FileOperations::recordResult(FileOperationKind kind, const FileOperationResult& result) {
    UndoRecord record;
    if (kind == FileOperationKind::Delete) {
        record.kind = UndoKind::Trash;
        for (const TrashedItem& item : result.trashed)
            record.items.push_back({item.original, item.trashed, item.info, item.identity});
    } else {
        record.kind = kind == FileOperationKind::Move ? UndoKind::Move : UndoKind::Copy;
        for (const PlacedItem& item : result.placed)
            record.items.push_back({item.source, item.placed, {}, item.identity});
    }
    history_.push(std::move(record));
}

void FileOperations::undoLast() {
    if (running_)
        return;
    const std::optional<UndoRecord> record = history_.pop();
    if (!record) {
        messages_.inform("元に戻す操作はありません");
        return;
    }
    BusyScope busy(state_);
    std::vector<std::string> folders;
    {
        ScopedFlag running(running_);
        WaitCursor wait(loop_);
        folders = undo_.undo(*record);
    }
    // The panes follow what went back, as after the operation itself.
    for (const std::string& folder : folders)
        refreshFolderNode(folder);
    list_.refreshList();
}

void FileOperations::makeNewFolder(Pane pane) {
    BusyScope busy(state_);
    if (pane == Pane::Tree)
        newTreeNode();
    else
        newListRow();
}

void FileOperations::newTreeNode() {
    auto& tree = state_.c.treeControl;
    TreeNode* parent = state_.pointedKey.empty() ? nullptr : tree.find(state_.pointedKey);
    if (!parent)
        parent = tree.selected();
    if (!parent)
        return;
    const std::string parentKey = parent->key();
    tree_.onTreeExpand(parentKey); // a folder not opened yet gets its children first
    TreeNode* node = tree.add(parentKey, TreeRelation::Child, tree_.newNodeKey(),
                              std::string(kNewFolderText), "FoldC");
    if (!node)
        return;
    tree.select(node);
    tree.setTag(node, EntryKinds::tag(EntryKind::NewFolder));
    setTimer_(false);
    tree.startLabelEdit(node);
}

void FileOperations::newListRow() {
    auto& list = state_.c.listControl;
    char key[24];
    std::snprintf(key, sizeof key, "L%03d", state_.itemCounter++);
    if (ListItem* current = list.current())
        list.setSelected(current, false);
    loop_.processEvents();
    ListItemData row;
    row.key = key;
    row.text = std::string(kNewFolderText);
    row.icon = "FoldC";
    if (!list.add(std::move(row)))
        return;
    list.clearSelection();
    list.setCurrent(list.find(key), true);
    list.setTag(list.find(key), EntryKinds::tag(EntryKind::NewFolder));
    loop_.processEvents();
    ListItem* item = list.find(key);
    if (!item)
        return;
    setTimer_(false);
    list.startLabelEdit(item);
}

void FileOperations::renameSelected(Pane pane) {
    if (pane == Pane::Tree) {
        auto& tree = state_.c.treeControl;
        TreeNode* node = state_.pointedKey.empty() ? nullptr : tree.find(state_.pointedKey);
        if (!node)
            return;
        tree.select(node);
        setTimer_(false);
        tree.startLabelEdit(node, partToSelect(EntryKinds::of(node)));
        return;
    }
    auto& list = state_.c.listControl;
    ListItem* item = state_.trackedItem > 0 ? list.itemAt(state_.trackedItem) : nullptr;
    if (!item)
        return;
    list.clearSelection();
    list.setCurrent(item, true);
    setTimer_(false);
    list.startLabelEdit(item, partToSelect(EntryKinds::of(item)));
}

bool FileOperations::treeLabelEdited(const std::string& key,
                                     const std::optional<std::string>& text) {
    setTimer_(true);
    if (!state_.c.treeControl.find(key))
        return true;
    if (!text || !validName(*text))
        return false;
    WaitCursor wait(loop_);
    return applyTreeEdit(key, *text);
}

bool FileOperations::applyTreeEdit(const std::string& key, const std::string& text) {
    auto& tree = state_.c.treeControl;
    TreeNode* node = tree.find(key);
    const std::string path = tree_.fullPath(node);
    const std::string parentFolder = FileSystem::parentOf(path);
    if (EntryKinds::of(node) == EntryKind::NewFolder) {
        if (!nameOnDisk(parentFolder, {}, text))
            return false;
        tree.setTag(node, EntryKinds::tag(EntryKind::Folder));
    } else if (EntryKinds::of(node) == EntryKind::Folder ||
               EntryKinds::of(node) == EntryKind::File) {
        if (text != node->text() && !nameOnDisk(parentFolder, node->text(), text))
            return false;
    } else {
        return false;
    }
    tree.setText(node, text);
    if (!node->parent()) {
        // The root itself was renamed: the tree follows it under its new name.
        tree_.setRoot(PathText::child(parentFolder, text));
        return true;
    }
    watch_.refreshNode(node->parent()->key(), false);
    return true;
}

bool FileOperations::listLabelEdited(const std::string& key,
                                     const std::optional<std::string>& text) {
    setTimer_(true);
    const TreeNode* listNode = tree_.currentNode();
    if (!listNode || tree_.nodePath(listNode).empty())
        return false;
    if (!state_.c.listControl.find(key))
        return true;
    if (!text || !validName(*text))
        return false;
    WaitCursor wait(loop_);
    return applyListEdit(key, *text);
}

bool FileOperations::applyListEdit(const std::string& key, const std::string& text) {
    auto& list = state_.c.listControl;
    ListItem* item = list.find(key);
    const std::string folder = tree_.nodePath(tree_.currentNode());
    const std::string path = PathText::child(folder, text);
    if (EntryKinds::of(item) == EntryKind::NewFolder) {
        if (!nameOnDisk(folder, {}, text))
            return false;
        list.setTag(item, EntryKinds::tag(EntryKind::Folder));
        const auto record = FileSystem::getFolder(path);
        list.setColumnText(item, 1, record ? ListTexts::modified(record->modified) : "");
        list.setColumnText(item, 3, "D" + text);
    } else if (EntryKinds::of(item) == EntryKind::Folder ||
               EntryKinds::of(item) == EntryKind::File) {
        const std::string old(item->text());
        if (text != old && !nameOnDisk(folder, old, text))
            return false;
    } else {
        return false;
    }
    list.setText(item, text);
    watch_.refreshNode(state_.listNodeKey, true);
    return true;
}

bool FileOperations::nameOnDisk(const std::string& folder, const std::string& old,
                                const std::string& name) {
    const std::string target = PathText::child(folder, name);
    if (old.empty() ? FileSystem::createFolder(target)
                    : FileSystem::rename(PathText::child(folder, old), name)) {
        recordNaming(folder, old, target);
        return true;
    }
    const int error = errno;
    std::error_code ignored;
    if (std::filesystem::exists(std::filesystem::symlink_status(target, ignored)))
        messages_.inform("「" + name + "」は既にあります。\r別の名前を指定してください。");
    else if (old.empty())
        messages_.inform("ﾌｫﾙﾀﾞ「" + name + "」を作成できません。\r" +
                         SystemErrorText::text(error));
    else
        messages_.inform("「" + old + "」の名前を「" + name + "」に変更できません。\r" +
                         SystemErrorText::text(error));
    return false;
}

void FileOperations::recordNaming(const std::string& folder, const std::string& old,
                                  const std::string& target) {
    const auto identity = FileSystem::identity(target);
    if (!identity)
        return;
    UndoRecord record{old.empty() ? UndoKind::NewFolder : UndoKind::Rename, {}};
    record.items.push_back(
        {old.empty() ? std::string() : PathText::child(folder, old), target, {}, *identity});
    history_.push(std::move(record));
}

void FileOperations::showInList(const std::string& key) {
    TreeNode* node = state_.c.treeControl.find(key);
    if (!node)
        return;
    state_.c.treeControl.select(node);
    // The list follows its node at once, so its rows always belong to the folder that
    // operations on them name.
    list_.fillList(tree_.fullPath(node), false);
    state_.listNodeKey = key;
}

void FileOperations::deleteSelected(const std::vector<std::string>& sources, Pane pane) {
    BusyScope busy(state_);
    if (pane == Pane::Tree)
        deleteFromTree(sources);
    else
        deleteFromList(sources);
}

void FileOperations::deleteFromTree(const std::vector<std::string>& sources) {
    auto& tree = state_.c.treeControl;
    TreeNode* target = tree_.trActNd();
    TreeNode* first = tree.firstNode();
    if (!first)
        return;
    TreeNode* back = target && target->parent() ? target->parent() : first;
    TreeNode* next = !target                 ? first
                     : target->nextSibling() ? target->nextSibling()
                     : target->parent()      ? target->parent()
                                             : first;
    const std::string backKey = back->key();
    const std::string nextKey = next->key();
    const bool listGoes =
        target && (holds(target, tree_.currentNode()) || holds(target, tree.selected()));
    if (!runFileOperation(FileOperationKind::Delete, sources, {}))
        return;
    // Only now that the node is gone do the selection and the list leave it; the node
    // pressed for the menu may not be the selected one, which then stays.
    if (listGoes)
        showInList(nextKey);
    list_.refreshList();
    watch_.refreshNode(backKey, false);
}

bool FileOperations::holds(const TreeNode* node, const TreeNode* inner) {
    for (; inner; inner = inner->parent())
        if (inner == node)
            return true;
    return false;
}

void FileOperations::deleteFromList(const std::vector<std::string>& sources) {
    auto& list = state_.c.listControl;
    if (!list.current())
        return;
    const int position = list.indexOf(list.current());
    if (!runFileOperation(FileOperationKind::Delete, sources, {}))
        return;
    if (TreeNode* node = state_.c.treeControl.selected())
        watch_.refreshNode(node->key(), false);
    if (ListItem* item = list.itemAt(position)) {
        list.clearSelection();
        list.setCurrent(item, true);
    }
    loop_.processEvents();
}

void FileOperations::refreshFolderNode(const std::string& folder) {
    std::string path = folder;
    PathText::withoutSeparator(path);
    const std::string key = tree_.keyOfPath(path);
    const TreeNode* node = key.empty() ? nullptr : state_.c.treeControl.find(key);
    // An index line left by a rename may name a node that now stands for another folder.
    if (node && TextCase::equal(tree_.fullPath(node), path))
        watch_.refreshNode(key, false);
}
