#pragma once

#include "browser/BrowserState.h"
#include "controls/ControlTypes.h"

#include <functional>
#include <string_view>

class FileList;
class FolderReads;
class FolderScan;
class FolderTree;
class ChangeSignature;
class TreeNode;
class UiLoop;

// Keeps the panes in step with the disk: a tick every 1.5 s compares the change
// signature of the listed folder (and, in the tree-only view, of the root) with the one
// last acted on and merges the changes in. The tick never waits for a folder: it reads
// away from the window's thread and merges when the read ends. Also the marks that show which node
// the list belongs to while the tree's selection or a drag is elsewhere.
class TreeWatch {
  public:
    static constexpr int kIntervalMs = 1500;
    // Mark colours, from the desktop's theme: inverted (window background on menu text)
    // for the list node while a menu works on another node, the button shadow behind the
    // dragged node.
    static constexpr Rgb kInvertedFore = systemColour(SystemColour::WindowBackground);
    static constexpr Rgb kInvertedBack = systemColour(SystemColour::MenuText);
    static constexpr Rgb kDraggedBack = systemColour(SystemColour::ButtonShadow);

    TreeWatch(BrowserState& state, FolderScan& scan, ChangeSignature& signatures, UiLoop& loop,
              FolderTree& tree, FileList& list, FolderReads& reads);

    void onTimerTick();
    // The tick's watch of the shown panes: the root in the tree-only view and the list
    // folder, each merged with the disk when its signature changed.
    void reconcileShown();
    // While `covered` answers true, ticks leave the shown panes to whoever covers them.
    void setPanesCovered(std::function<bool()> covered) { panesCovered_ = std::move(covered); }
    // Two-cursor merge of the node's children with the disk; both sides are in the same
    // name order. With `noList` clear the list is reconciled too when it shows the node.
    void refreshNode(std::string_view key, bool noList);
    // Reads the node's folder away from the window's thread and merges its children with
    // it when the read ends (the list is left to its own watch). False while the folder
    // is still being read for something else: ask again later.
    bool followNode(const std::string& key);
    // After the rule of what is shown changed: every loaded node is merged with the disk
    // (its expansion stays), every other folder node gets its expand button decided again
    // once its row is shown.
    void reshowTree();
    void markNode(int mode);
    void onTreeFocusLost();
    // A press on a tree node (empty key: outside every node). The right button marks the
    // list's node while the menu works on the pressed one; any other opens the node.
    void nodePressed(std::string_view key, MouseButton button);

  private:
    void reconcileRoot(const std::string& root);
    void reconcileList(const std::string& folder);
    // Whether the listed folder is still there; its rows go when it is not.
    bool followListFolder();
    void listReturned(const std::string& folder);
    void refreshNow(const std::string& key, bool noList);
    struct Entry {
        std::string name;
        bool isFolder;
    };
    // Merges the children of `key` from `cursorKey` on with `disk`; returns the key of the
    // node where the cursor stopped (empty at the end).
    std::string merge(const std::string& key, std::string cursorKey,
                      const std::vector<FileRecord>& disk, bool folders);
    void setColours(std::string_view key, std::optional<Rgb> fore, std::optional<Rgb> back);

    BrowserState& state_;
    FolderScan& scan_;
    ChangeSignature& signatures_;
    UiLoop& loop_;
    FolderTree& tree_;
    FileList& list_;
    FolderReads& reads_;
    std::function<bool()> panesCovered_;
};
