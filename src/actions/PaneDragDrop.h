#pragma once

#include "actions/SelectionCollector.h"
#include "controls/ControlTypes.h"

#include <string>
#include <vector>

struct BrowserState;
class FileActions;
class FolderTree;
class TreeWatch;
class UiLoop;

// Drag and drop of the browser's panes: the paths a drag offers, the bold drop target
// while a drag passes, and drops copied or moved into a folder through runFileOperation. A drop
// moves when Shift alone is held at the drop and copies otherwise; it answers what it
// really did, so the drag's source is never told "moved" when the items were only copied
// or nothing was done. Nodes and rows are held by key across the operation, which lets
// events run.
class PaneDragDrop {
  public:
    PaneDragDrop(BrowserState& state, FolderTree& tree, TreeWatch& watch, UiLoop& loop);
    void setFileActions(FileActions* actions) { actions_ = actions; }

    // The pressed node's path, painted as dragged; nothing without a selected node or a
    // pressed one.
    std::vector<std::string> treeDragStarting();
    // The selected rows of the listed folder, in list order.
    std::vector<std::string> listDragStarting();
    void treeDragOver(const std::string& key, DragState state);
    void listDragOver(const std::string& key, DragState state);
    // Into the node's folder; nothing on a file node or outside every node, nor when a
    // single folder is dropped onto its own node.
    DropOutcome treeDropped(const std::string& key, const std::vector<std::string>& paths,
                            KeyModifiers modifiers);
    // Into the folder of a folder row, else into the listed folder.
    DropOutcome listDropped(const std::string& key, const std::vector<std::string>& paths,
                            KeyModifiers modifiers);

  private:
    // Copies or moves the paths into `target`; what was done.
    DropOutcome copyOrMove(const std::vector<std::string>& paths, const std::string& target,
                           KeyModifiers modifiers);
    // After a move the folders the items left are brought up to date too.
    void refreshSourceFolders(const std::vector<std::string>& paths, const std::string& target);
    void unboldDropRow();

    BrowserState& state_;
    FolderTree& tree_;
    TreeWatch& watch_;
    UiLoop& loop_;
    SelectionCollector selection_;
    FileActions* actions_ = nullptr;
};
