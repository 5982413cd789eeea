#pragma once

#include "browser/BrowserState.h"
#include "platform/fs/MountWatch.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class FileList;
class FolderReads;
class FolderScan;
class IconCache;
class ChangeSignature;
class TreeNode;
class UiLoop;
enum class TreeRelation;

// The folder tree: a lazily loaded tree of the root folder. A folder node that has
// something inside carries one dummy child "?" until it is opened; in the tree-only view
// folders show their files below their subfolders. Keys are "N0000" for the root and
// "N" + a counter of at least four digits for the others, restarting with every rebuild.
class FolderTree {
  public:
    // Folders are read through `reads`: a folder that is slow to answer is loaded when its
    // read ends, and the window goes on meanwhile.
    FolderTree(BrowserState& state, FolderScan& scan, IconCache& icons, ChangeSignature& signatures,
               UiLoop& loop, FolderReads& reads);
    void setFileList(FileList& list) { list_ = &list; }

    // Sets the root; "path CR subpath" opens the subpath too. A value that is not an
    // existing folder changes nothing (beyond the indexes cleared first).
    void setRoot(std::string_view value);
    const std::string& root() const { return state_.root; }
    // Called with every root that was set, for the recent-folders list.
    void onRootRecorded(std::function<void(const std::string&)> record) {
        recordRoot_ = std::move(record);
    }
    // Rebuilds the tree for the current root and opens the list's folder in it again, so
    // the path index and the list node name the nodes of the new build.
    void redrawTree();

    // `listed`: the folder's record when it comes from a listing that already left out
    // missing and excluded folders, so only the look inside remains to be done.
    TreeNode* addNode(std::string_view parentKey, std::string_view text, TreeRelation relation,
                      bool isFolder, const FileRecord* listed = nullptr);
    std::string newNodeKey();
    void loadChildren(std::string_view key);
    // Before nodes are added from a listing of `folder`: learn how its records tell
    // whether a subfolder has subfolders of its own.
    void prepareListing(std::string_view folder);
    void loadChildrenOfPath(std::string_view path);
    void openPathInTree(std::string_view path);
    // The path being opened while one of its folders is still being read; empty otherwise.
    const std::string& openingPath() const { return openingPath_; }
    // The node's folder: for a file node its parent folder; empty when it does not exist.
    std::string nodePath(const TreeNode* node) const;
    // The same without asking the disk whether it exists.
    std::string nodeFolder(const TreeNode* node) const;
    // Whether the node of this key still stands for this folder.
    bool stillAt(const std::string& key, const std::string& folder) const;
    std::string fullPath(const TreeNode* node) const;
    std::string keyOfPath(std::string_view path) const;
    TreeNode* currentNode() const;
    // The node the tree's actions work on: the node pressed last (the one a context menu
    // was opened on), else the selected node.
    TreeNode* trActNd() const;

    void onTreeExpand(std::string_view key);
    // Rows of undecided nodes came into sight: those with something to open get their
    // expand button.
    void decideShown(const std::vector<std::string>& keys);
    void onDriveChanged();
    // Root from dropped paths: a path with a "." is taken as a file and its folder used.
    void setRootFromDrop(const std::vector<std::string>& paths);
    // Fills the drive list from the mounted file systems.
    void loadDrives();
    // Fills it again when something was mounted or unmounted since the last look.
    void followMounts();

  private:
    void setRootNow(const std::string& value);
    void expandNow(const std::string& key);
    void decideNow(const std::string& key);
    bool loadLevel(const std::string& key, const std::string& folder, const std::string& path);
    void buildRootNode();
    void indexFolder(const std::string& path, const std::string& key);
    bool wantsDummy(const std::string& path, const FileRecord* listed);
    // Whether the records of the folders being added tell by their link count.
    bool linksTell_ = false;
    // Whether the folder being added is left undecided until its row is shown.
    bool deferDecision_ = false;
    void addDummy(std::string_view parentKey);
    void removeDummy(TreeNode* node);
    void addChildren(std::string_view key, const std::vector<FileRecord>& records, bool folders);
    // Walks from the root to `path`, loading and expanding the nodes on the way.
    TreeNode* openNodes(std::string_view path);

    BrowserState& state_;
    FolderScan& scan_;
    IconCache& icons_;
    ChangeSignature& signatures_;
    UiLoop& loop_;
    FolderReads& reads_;
    // The root asked for last and the path being opened in the tree, while their folders
    // are read: a read that ends after another was asked for is not applied.
    std::string requestedRoot_;
    std::string openingPath_;
    bool levelBeingRead_ = false;
    FileList* list_ = nullptr;
    std::function<void(const std::string&)> recordRoot_;
    MountWatch mounts_;
};
