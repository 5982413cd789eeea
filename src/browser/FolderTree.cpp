#include "browser/FolderTree.h"

#include "browser/EntryKind.h"
#include "browser/FileList.h"
#include "browser/FolderReads.h"
#include "browser/FolderScan.h"
#include "browser/IconCache.h"
#include "platform/UiLoop.h"
#include "platform/fs/MountTable.h"
#include "platform/text/PathText.h"
#include "platform/text/TextCase.h"

#include <cstdio>

namespace {

constexpr std::string_view kDummy = "?";

bool isDummy(const TreeNode* node) {
    return node && node->text() == kDummy && EntryKinds::of(node) == EntryKind::Placeholder;
}

} // namespace

FolderTree::FolderTree(BrowserState& state, FolderScan& scan, IconCache& icons,
                       ChangeSignature& signatures, UiLoop& loop, FolderReads& reads)
    : state_(state), scan_(scan), icons_(icons), signatures_(signatures), loop_(loop),
      reads_(reads) {}

std::string FolderTree::newNodeKey() {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "N%04d", state_.nodeCounter++);
    return buffer;
}

std::string FolderTree::fullPath(const TreeNode* node) const {
    return state_.c.treeControl.fullPath(node, "/");
}

std::string FolderTree::nodeFolder(const TreeNode* node) const {
    if (!node)
        return {};
    std::string path = fullPath(node);
    if (EntryKinds::of(node) == EntryKind::File)
        path = FileSystem::parentOf(path);
    return path;
}

std::string FolderTree::nodePath(const TreeNode* node) const {
    std::string path = nodeFolder(node);
    return !path.empty() && scan_.folderExists(path) ? path : std::string();
}

std::string FolderTree::keyOfPath(std::string_view path) const {
    const auto it = state_.pathIndex.find(TextCase::fold(path));
    return it == state_.pathIndex.end() ? std::string() : it->second;
}

TreeNode* FolderTree::currentNode() const {
    return state_.listNodeKey.empty() ? nullptr : state_.c.treeControl.find(state_.listNodeKey);
}

TreeNode* FolderTree::trActNd() const {
    auto& tree = state_.c.treeControl;
    TreeNode* pointed = state_.pointedKey.empty() ? nullptr : tree.find(state_.pointedKey);
    return pointed ? pointed : tree.selected();
}

void FolderTree::indexFolder(const std::string& path, const std::string& key) {
    state_.pathIndex.emplace(TextCase::fold(path), key);
}

void FolderTree::setRoot(std::string_view value) {
    if (value.empty())
        return;
    const std::string asked(value);
    requestedRoot_ = asked;
    openingPath_.clear();
    std::string folder = asked.substr(0, asked.find('\r'));
    PathText::withoutSeparator(folder);
    reads_.whenRead(
        folder, FolderReads::Depth::Full, FolderReads::Purpose::Root,
        [this, asked] { setRootNow(asked); }, [this, asked] { return requestedRoot_ == asked; });
}

void FolderTree::setRootNow(const std::string& value) {
    BusyScope busy(state_);
    state_.c.drive1.selectForPath(value.substr(0, value.find('\r')));
    state_.listNodeKey.clear();
    state_.markedKey.clear();
    state_.pointedKey.clear();
    state_.hoverKey.clear();
    std::string folder(value);
    std::string open;
    if (const auto cr = folder.find('\r'); cr != std::string::npos) {
        open = folder.substr(cr + 1);
        folder.resize(cr);
    }
    WaitCursor wait(loop_);
    if (!scan_.folderExists(folder))
        return;
    PathText::withoutSeparator(folder);
    if (recordRoot_)
        recordRoot_(folder);
    state_.pathIndex.clear();
    indexFolder(folder, "N0000");
    state_.root = folder;
    // Taken before the read, so that a change while the tree is built shows at a tick.
    const Signature baseline = signatures_.signatureOf(folder);
    // The root's subfolders and, when it is what the list shows, its files: one read.
    if (open.empty() && list_ && state_.showList)
        scan_.readAhead(folder, state_.filter);
    buildRootNode();
    if (!open.empty()) {
        openPathInTree(open);
    } else {
        state_.listNodeKey = "N0000";
        if (list_)
            list_->fillList(folder, true);
    }
    scan_.dropReadAhead();
    state_.treeBaseline = baseline;
}

void FolderTree::buildRootNode() {
    auto& tree = state_.c.treeControl;
    tree.clear();
    addNode("", state_.root, TreeRelation::Child, true);
    loadChildren("N0000");
    if (TreeNode* first = tree.firstNode()) {
        tree.expand(first);
        tree.select(first);
    }
}

void FolderTree::redrawTree() {
    if (state_.root.empty())
        return;
    BusyScope busy(state_);
    WaitCursor wait(loop_);
    state_.pathIndex.clear();
    indexFolder(state_.root, "N0000");
    buildRootNode();
    state_.listNodeKey.clear();
    state_.markedKey.clear();
    state_.pointedKey.clear();
    state_.hoverKey.clear();
    // Only the root's level is loaded again; a deeper list folder keeps its rows and its
    // watch, and is selected again when the user opens it.
    TreeNode* root = state_.c.treeControl.firstNode();
    if (!root)
        return;
    const auto selectIfListed = [this](TreeNode* node) {
        if (EntryKinds::of(node) == EntryKind::Folder &&
            TextCase::equal(fullPath(node), state_.listFolder)) {
            state_.c.treeControl.select(node);
            state_.listNodeKey = node->key();
        }
    };
    selectIfListed(root);
    for (TreeNode* child = root->firstChild(); child; child = child->nextSibling())
        selectIfListed(child);
}

TreeNode* FolderTree::addNode(std::string_view parentKey, std::string_view text,
                              TreeRelation relation, bool isFolder, const FileRecord* listed) {
    auto& tree = state_.c.treeControl;
    if (parentKey.empty()) {
        state_.nodeCounter = 1;
        TreeNode* root = tree.add("", TreeRelation::Child, "N0000", std::string(text),
                                  icons_.iconOf(text, true));
        if (root)
            tree.setTag(root, EntryKinds::tag(EntryKind::Folder));
        return root;
    }
    if (text == kDummy) {
        addDummy(parentKey);
        return nullptr;
    }
    const TreeNode* relative = tree.find(parentKey);
    if (!relative)
        return nullptr;
    const TreeNode* base = relation == TreeRelation::Child ? relative : relative->parent();
    const std::string path = PathText::child(fullPath(base), text);
    const std::string key = newNodeKey();
    TreeNode* node =
        tree.add(parentKey, relation, key, std::string(text), icons_.iconOf(path, isFolder));
    if (!node)
        return nullptr;
    tree.setTag(node, EntryKinds::tag(isFolder ? EntryKind::Folder : EntryKind::File));
    if (isFolder) {
        indexFolder(path, key);
        if (deferDecision_)
            tree.setUndecided(node, true);
        else if (wantsDummy(path, listed))
            addDummy(key);
    }
    return node;
}

bool FolderTree::wantsDummy(const std::string& path, const FileRecord* listed) {
    // A link count above 2 proves a real subfolder; it says nothing about symbolic links
    // to folders, so any other count means a look inside.
    bool hasFolder = false;
    if (!listed)
        hasFolder = scan_.hasFolders(path, "");
    else if (linksTell_ && listed->links > 2 && (listed->attributes & AttrSymbolicLink) == 0)
        hasFolder = true;
    else
        hasFolder = scan_.holdsShownSubfolder(path);
    if (hasFolder)
        return true;
    return !state_.showList && scan_.hasFiles(path, "");
}

void FolderTree::addDummy(std::string_view parentKey) {
    auto& tree = state_.c.treeControl;
    if (TreeNode* dummy =
            tree.add(parentKey, TreeRelation::Child, newNodeKey(), std::string(kDummy)))
        tree.setTag(dummy, EntryKinds::tag(EntryKind::Placeholder));
}

void FolderTree::removeDummy(TreeNode* node) {
    if (node && isDummy(node->firstChild()))
        state_.c.treeControl.remove(node->firstChild());
}

void FolderTree::addChildren(std::string_view key, const std::vector<FileRecord>& records,
                             bool folders) {
    // A folder whose link count proves nothing (a leaf, a link to a folder, or any folder
    // where links do not count subfolders) is looked into only when its row is shown, and
    // away from the window's thread: expanding a folder of thousands of subfolders must not
    // open every one of them, nor wait on one that is slow to answer.
    for (const FileRecord& r : records) {
        deferDecision_ =
            folders && !(linksTell_ && r.links > 2 && (r.attributes & AttrSymbolicLink) == 0);
        addNode(key, r.name, TreeRelation::Child, folders, &r);
    }
    deferDecision_ = false;
}

void FolderTree::decideShown(const std::vector<std::string>& keys) {
    auto& tree = state_.c.treeControl;
    for (const std::string& key : keys) {
        const TreeNode* node = tree.find(key);
        if (!node || !node->undecided())
            continue;
        const std::string folder = fullPath(node);
        reads_.whenRead(
            folder, FolderReads::Depth::Peek, FolderReads::Purpose::ExpandButton,
            [this, key] { decideNow(key); }, [this, key, folder] { return stillAt(key, folder); });
    }
}

void FolderTree::decideNow(const std::string& key) {
    auto& tree = state_.c.treeControl;
    TreeNode* node = tree.find(key);
    if (!node || !node->undecided())
        return;
    tree.setUndecided(node, false);
    if (node->childCount() == 0 && wantsDummy(fullPath(node), nullptr))
        addDummy(key);
}

void FolderTree::loadChildren(std::string_view key) {
    TreeNode* node = state_.c.treeControl.find(key);
    if (!node)
        return;
    const std::string folder = nodePath(node);
    const std::string nodeKey(key);
    FolderEntries folders = scan_.listFolders(folder);
    prepareListing(folder);
    state_.scratch = folders.entries;
    state_.scratchAny = folders.any;
    state_.scratchFolder = folder;
    if (folders.any) {
        removeDummy(state_.c.treeControl.find(nodeKey));
        addChildren(nodeKey, folders.entries, true);
    }
    if (state_.showList)
        return;
    FolderEntries files = scan_.listFiles(folder, state_.filter);
    if (files.any) {
        removeDummy(state_.c.treeControl.find(nodeKey));
        addChildren(nodeKey, files.entries, false);
    }
}

void FolderTree::prepareListing(std::string_view folder) {
    // While hidden entries are hidden a link count also counts them (".git"): every
    // folder is looked into when its row is shown.
    linksTell_ = !scan_.hidesEntries() && scan_.linksCountSubfolders(folder);
}

void FolderTree::loadChildrenOfPath(std::string_view path) {
    auto& tree = state_.c.treeControl;
    if (TreeNode* selected = tree.selected()) {
        for (TreeNode* child = selected->firstChild(); child; child = child->nextSibling()) {
            if (TextCase::equal(fullPath(child), path)) {
                const std::string key = child->key();
                tree.select(child);
                tree.expand(child);
                onTreeExpand(key);
                break;
            }
        }
    }
    if (list_)
        list_->fillList(path, false);
}

TreeNode* FolderTree::openNodes(std::string_view path) {
    auto& tree = state_.c.treeControl;
    TreeNode* node = tree.firstNode();
    if (!node || node->childCount() == 0)
        return nullptr;
    const std::string root = fullPath(node);
    if (path.size() < root.size() || !TextCase::equal(path.substr(0, root.size()), root))
        return nullptr;
    std::string_view rest = path.substr(root.size());
    while (!rest.empty()) {
        const auto slash = rest.find('/');
        const std::string_view part = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        if (part.empty())
            continue;
        for (TreeNode* child = node->firstChild(); child; child = child->nextSibling()) {
            if (!TextCase::equal(child->text(), part))
                continue;
            const std::string key = child->key();
            if ((child->childCount() == 0 || isDummy(child->firstChild())) &&
                !loadLevel(key, nodeFolder(child), std::string(path)))
                return nullptr;
            node = tree.find(key);
            tree.expand(node);
            break;
        }
    }
    return node;
}

// Loads a level of a path being opened; false while its folder is still being read.
bool FolderTree::loadLevel(const std::string& key, const std::string& folder,
                           const std::string& path) {
    const auto wanted = [this, path] { return openingPath_ == path; };
    const auto outcome = reads_.whenRead(
        folder, FolderReads::Depth::Full, FolderReads::Purpose::TreeLoad,
        [this, key] { loadChildren(key); },
        [this, key, folder, wanted] { return wanted() && stillAt(key, folder); });
    if (outcome == FolderReads::Outcome::Applied)
        return true;
    levelBeingRead_ = true;
    // Once the level has been read, the opening starts again from the root and goes on.
    reads_.whenRead(
        folder, FolderReads::Depth::Full, FolderReads::Purpose::OpenPath,
        [this, path] { openPathInTree(path); }, wanted);
    return false;
}

void FolderTree::openPathInTree(std::string_view path) {
    TreeNode* first = state_.c.treeControl.firstNode();
    if (!first)
        return;
    BusyScope busy(state_);
    WaitCursor wait(loop_);
    openingPath_ = std::string(path);
    levelBeingRead_ = false;
    // The root itself, or a root without subfolders: the root is what there is to open.
    const bool atRoot = first->childCount() == 0 || TextCase::equal(path, fullPath(first));
    TreeNode* node = atRoot ? first : openNodes(path);
    if (!node && levelBeingRead_)
        return; // goes on once the level has been read
    openingPath_.clear();
    if (!node)
        return;
    state_.c.treeControl.select(node);
    state_.listNodeKey = node->key();
    if (list_)
        list_->fillList(atRoot ? fullPath(first) : std::string(path), true);
}

void FolderTree::onTreeExpand(std::string_view key) {
    const TreeNode* node = state_.c.treeControl.find(key);
    if (!node || !(isDummy(node->firstChild()) || node->undecided()))
        return;
    const std::string nodeKey(key);
    const std::string folder = nodeFolder(node);
    reads_.whenRead(
        folder, FolderReads::Depth::Full, FolderReads::Purpose::TreeLoad,
        [this, nodeKey] { expandNow(nodeKey); },
        [this, nodeKey, folder] { return stillAt(nodeKey, folder); });
}

// Keys restart with every build of the tree: a key names the node it named when its
// folder is still the node's.
bool FolderTree::stillAt(const std::string& key, const std::string& folder) const {
    const TreeNode* node = state_.c.treeControl.find(key);
    return node && nodeFolder(node) == folder;
}

void FolderTree::expandNow(const std::string& key) {
    TreeNode* node = state_.c.treeControl.find(key);
    if (!node || !(isDummy(node->firstChild()) || node->undecided()))
        return;
    state_.c.treeControl.setUndecided(node, false);
    BusyScope busy(state_);
    WaitCursor wait(loop_);
    removeDummy(node);
    loadChildren(key);
    loop_.processEvents();
}

void FolderTree::onDriveChanged() {
    if (state_.busy)
        return;
    const int index = state_.c.drive1.selectedIndex();
    if (index < 0)
        return;
    const std::string mountPoint = state_.c.drive1.mountPoint(index);
    setRoot(mountPoint);
}

void FolderTree::setRootFromDrop(const std::vector<std::string>& paths) {
    for (std::string path : paths) {
        const std::string name = FileSystem::nameOf(path);
        if (name.find('.') != std::string::npos && !FileSystem::folderExists(path))
            path = FileSystem::parentOf(path);
        if (FileSystem::folderExists(path)) {
            setRoot(path);
            return;
        }
    }
}

void FolderTree::loadDrives() {
    std::vector<DriveList::Drive> drives;
    const auto mounts = MountTable::browsable(MountTable::read());
    const auto texts = MountTable::driveEntries(mounts);
    for (std::size_t i = 0; i < mounts.size() && i < texts.size(); ++i)
        drives.push_back({mounts[i].mountPoint, texts[i]});
    state_.c.drive1.setDrives(std::move(drives));
    if (!state_.root.empty())
        state_.c.drive1.selectForPath(state_.root);
}

void FolderTree::followMounts() {
    if (mounts_.changed())
        loadDrives();
}
