#include "browser/TreeWatch.h"

#include "browser/EntryKind.h"
#include "browser/FileList.h"
#include "browser/FolderReads.h"
#include "browser/FolderScan.h"
#include "browser/FolderTree.h"
#include "platform/UiLoop.h"
#include "platform/text/TextCase.h"

TreeWatch::TreeWatch(BrowserState& state, FolderScan& scan, ChangeSignature& signatures,
                     UiLoop& loop, FolderTree& tree, FileList& list, FolderReads& reads)
    : state_(state), scan_(scan), signatures_(signatures), loop_(loop), tree_(tree), list_(list),
      reads_(reads) {}

void TreeWatch::onTimerTick() {
    reads_.lookForSlowReads();
    if (state_.busy)
        return;
    reads_.applyWaiting();
    tree_.followMounts();
    if (!panesCovered_ || !panesCovered_())
        reconcileShown();
    auto& tree = state_.c.treeControl;
    if (TreeNode* hover = state_.hoverKey.empty() ? nullptr : tree.find(state_.hoverKey);
        hover && !hover->expanded()) {
        tree.expand(hover);
        tree_.onTreeExpand(hover->key());
    }
}

void TreeWatch::reconcileShown() {
    if (!state_.root.empty() && !state_.showList)
        reconcileRoot(state_.root);
    if (!state_.listFolder.empty()) {
        reconcileList(state_.listFolder);
    } else if (const std::string back = state_.vanishedListFolder; !back.empty()) {
        reads_.whenRead(
            back, FolderReads::Depth::Peek, FolderReads::Purpose::Exists,
            [this, back] { listReturned(back); },
            [this, back] { return state_.vanishedListFolder == back; },
            std::chrono::milliseconds(0));
    }
}

void TreeWatch::reconcileRoot(const std::string& root) {
    if (reads_.reading(root) || !signatures_.mayHaveChanged(root))
        return;
    reads_.whenRead(
        root, FolderReads::Depth::Full, FolderReads::Purpose::TreeRefresh,
        [this, root] {
            const Signature now = signatures_.signatureOf(root);
            if (!state_.treeBaseline.changedTo(now))
                return;
            auto& tree = state_.c.treeControl;
            state_.listFolder = tree_.nodePath(tree.selected());
            if (TreeNode* first = tree.firstNode())
                refreshNow(first->key(), true);
            state_.treeBaseline = now;
        },
        [this, root] { return state_.root == root && !state_.showList; },
        std::chrono::milliseconds(0));
}

void TreeWatch::reconcileList(const std::string& folder) {
    if (reads_.reading(folder) || !signatures_.mayHaveChanged(folder))
        return;
    reads_.whenRead(
        folder, FolderReads::Depth::Full, FolderReads::Purpose::ListRefresh,
        [this, folder] {
            if (!followListFolder())
                return;
            // The served read gives the signature and, where the list looks, the entries.
            const Signature now = signatures_.signatureOf(folder);
            if (!state_.listBaseline.changedTo(now))
                return;
            list_.refreshList();
            state_.listBaseline = now;
        },
        [this, folder] { return state_.listFolder == folder; }, std::chrono::milliseconds(0));
}

bool TreeWatch::followListFolder() {
    // A listed folder that vanished takes its rows with it; when a folder of that name
    // comes back it is listed again.
    if (scan_.folderExists(state_.listFolder))
        return true;
    list_.cancelFill();
    state_.c.listControl.clear();
    state_.vanishedListFolder = std::move(state_.listFolder);
    state_.listFolder.clear();
    return false;
}

void TreeWatch::listReturned(const std::string& folder) {
    if (!state_.listFolder.empty() || !scan_.folderExists(folder))
        return;
    state_.vanishedListFolder.clear();
    list_.fillList(folder, false);
}

std::string TreeWatch::merge(const std::string& key, std::string cursorKey,
                             const std::vector<FileRecord>& disk, bool folders) {
    auto& tree = state_.c.treeControl;
    std::size_t d = 0;
    for (;;) {
        TreeNode* cursor = cursorKey.empty() ? nullptr : tree.find(cursorKey);
        // In the folder part a file node ends the nodes to merge.
        const bool nodeEnds = !cursor || (folders && EntryKinds::of(cursor) == EntryKind::File);
        const std::string nodeName = nodeEnds ? std::string() : cursor->text();
        const std::string diskName = d < disk.size() ? disk[d].name : std::string();
        if (nodeName.empty() && diskName.empty())
            return cursorKey;
        if (cursor && !nodeEnds && EntryKinds::of(cursor) == EntryKind::Placeholder) {
            // The dummy stands for unloaded content: loading replaces it.
            TreeNode* next = cursor->nextSibling();
            cursorKey = next ? next->key() : std::string();
            tree.remove(cursor);
            continue;
        }
        const int order = nodeName.empty()   ? 1
                          : diskName.empty() ? -1
                                             : TextCase::compare(nodeName, diskName);
        if (order == 0) {
            TreeNode* next = cursor->nextSibling();
            cursorKey = next ? next->key() : std::string();
            ++d;
        } else if (order > 0) {
            ++d;
            if (cursor)
                tree_.addNode(cursorKey, diskName, TreeRelation::Previous, folders, &disk[d - 1]);
            else
                tree_.addNode(key, diskName, TreeRelation::Child, folders, &disk[d - 1]);
        } else {
            TreeNode* next = cursor->nextSibling();
            cursorKey = next ? next->key() : std::string();
            tree.remove(cursor);
        }
    }
}

void TreeWatch::refreshNode(std::string_view key, bool noList) {
    const TreeNode* node = state_.c.treeControl.find(key);
    if (!node)
        return;
    const std::string nodeKey(key);
    const std::string folder = tree_.nodeFolder(node);
    reads_.whenRead(
        folder, FolderReads::Depth::Full, FolderReads::Purpose::TreeRefresh,
        [this, nodeKey, noList] { refreshNow(nodeKey, noList); },
        [this, nodeKey, folder] { return tree_.stillAt(nodeKey, folder); });
}

bool TreeWatch::followNode(const std::string& key) {
    const TreeNode* node = state_.c.treeControl.find(key);
    if (!node)
        return true;
    const std::string folder = tree_.nodeFolder(node);
    if (reads_.reading(folder))
        return false;
    reads_.whenRead(
        folder, FolderReads::Depth::Full, FolderReads::Purpose::TreeFollow,
        [this, key, folder] {
            // A folder that went is taken away by its parent's reading.
            if (scan_.folderExists(folder))
                refreshNow(key, true);
        },
        [this, key, folder] { return tree_.stillAt(key, folder); }, std::chrono::milliseconds(0));
    return true;
}

void TreeWatch::reshowTree() {
    auto& tree = state_.c.treeControl;
    std::vector<std::string> loaded;
    std::vector<TreeNode*> pending;
    if (TreeNode* root = tree.firstNode())
        pending.push_back(root);
    while (!pending.empty()) {
        TreeNode* node = pending.back();
        pending.pop_back();
        if (EntryKinds::of(node) != EntryKind::Folder)
            continue;
        TreeNode* first = node->firstChild();
        const bool dummy = first && EntryKinds::of(first) == EntryKind::Placeholder;
        if (node->undecided() || dummy || (!first && !node->expanded())) {
            if (dummy)
                tree.remove(first);
            tree.redecide(node);
            continue;
        }
        loaded.push_back(node->key());
        for (TreeNode* child = first; child; child = child->nextSibling())
            pending.push_back(child);
    }
    // Parents first: a node a merge removed is not looked for any more.
    for (const std::string& key : loaded)
        refreshNode(key, true);
}

void TreeWatch::refreshNow(const std::string& key, bool noList) {
    auto& tree = state_.c.treeControl;
    TreeNode* node = tree.find(key);
    if (!node)
        return;
    const std::string folder = tree_.nodePath(node);
    const std::vector<FileRecord> folders = scan_.listFolders(folder).entries;
    tree_.prepareListing(folder);
    TreeNode* first = node->firstChild();
    std::string cursor = merge(key, first ? first->key() : std::string(), folders, true);
    if (!state_.showList)
        merge(key, cursor, scan_.listFiles(folder, state_.filter).entries, false);
    if (!noList && state_.showList && state_.listNodeKey == key)
        list_.refreshList();
}

void TreeWatch::setColours(std::string_view key, std::optional<Rgb> fore, std::optional<Rgb> back) {
    auto& tree = state_.c.treeControl;
    if (TreeNode* node = key.empty() ? nullptr : tree.find(key)) {
        tree.setForeColour(node, fore);
        tree.setBackColour(node, back);
    }
}

void TreeWatch::markNode(int mode) {
    auto& tree = state_.c.treeControl;
    switch (mode) {
    case 0:
        setColours(state_.markedKey, std::nullopt, std::nullopt);
        state_.markedKey.clear();
        break;
    case 1:
        setColours(state_.markedKey, kInvertedFore, kInvertedBack);
        break;
    case 2:
        setColours(state_.pointedKey, std::nullopt, std::nullopt);
        state_.pointedKey.clear();
        [[fallthrough]];
    case 4:
        if (TreeNode* hover = state_.hoverKey.empty() ? nullptr : tree.find(state_.hoverKey))
            tree.setBold(hover, false);
        state_.hoverKey.clear();
        break;
    case 3:
        setColours(state_.pointedKey, std::nullopt, kDraggedBack);
        break;
    case 5:
        if (TreeNode* hover = state_.hoverKey.empty() ? nullptr : tree.find(state_.hoverKey))
            tree.setBold(hover, true);
        break;
    default:
        break;
    }
}

void TreeWatch::onTreeFocusLost() {
    if (state_.markedKey.empty())
        return;
    if (TreeNode* marked = state_.c.treeControl.find(state_.markedKey))
        state_.c.treeControl.select(marked);
    markNode(0);
}

void TreeWatch::nodePressed(std::string_view key, MouseButton button) {
    if (state_.busy)
        return;
    auto& tree = state_.c.treeControl;
    TreeNode* node = key.empty() ? nullptr : tree.find(key);
    if (!node) {
        state_.markedKey = state_.listNodeKey;
        markNode(0);
        state_.pointedKey.clear();
        return;
    }
    // Every press points at its node: rename, new folder and paste after the menu act on
    // the node pressed last, whichever button pressed it.
    if (button == MouseButton::Right) {
        state_.pointedKey = std::string(key);
        if (node->key() != state_.listNodeKey) {
            state_.markedKey = state_.listNodeKey;
            markNode(1);
        }
        return;
    }
    const std::string nodeKey(key);
    WaitCursor wait(loop_);
    markNode(0);
    markNode(2);
    state_.pointedKey = nodeKey;
    if (node->expanded())
        refreshNode(nodeKey, false);
    loop_.processEvents();
    node = tree.find(nodeKey);
    if (!node)
        return;
    list_.fillList(tree_.fullPath(node), false);
    state_.listNodeKey = nodeKey;
}
