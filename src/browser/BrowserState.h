#pragma once

#include "browser/ChangeSignature.h"
#include "controls/BrowserControls.h"
#include "platform/fs/FileSystem.h"

#include <string>
#include <unordered_map>
#include <vector>

// The members of the browser control that its parts share. Nodes are remembered by key,
// not by their position in the node collection, so a node removed or inserted before
// them never makes them name another node; keys are valid until the next rebuild.
struct BrowserState {
    explicit BrowserState(BrowserControls& controls) : c(controls) {}

    BrowserControls& c;
    bool busy = false;
    bool showList = true; // split view (tree and list) or tree only
    std::string filter;
    std::string root;
    // A double-clicked shortcut to a folder shows it in the file manager instead of
    // making it the tree's root.
    bool exploreFolderShortcuts = false;
    int nodeCounter = 0;
    // Folder path (case-folded) to node key; the first node made for a path wins.
    std::unordered_map<std::string, std::string> pathIndex;
    std::string listNodeKey; // the node whose folder the list shows
    std::string markedKey;   // the list node, inverted while the tree's selection is elsewhere
    std::string pointedKey;  // node under the last press; the dragged node
    std::string hoverKey;    // drop target during a drag
    std::string listFolder;
    // The list's folder while it is missing from the disk, to be listed when it returns.
    std::string vanishedListFolder;
    // The subfolders the last tree load listed, for a list fill of the same folder.
    std::vector<FileRecord> scratch;
    bool scratchAny = false;
    // The folder whose subfolders `scratch` holds.
    std::string scratchFolder;
    Signature treeBaseline;
    Signature listBaseline;
    int itemCounter = 1;
    int sortState = 0; // column from 1; negative: descending; 0: never sorted
    // Item tracking of the context menu and drag and drop, reset by every list fill.
    int trackedItem = 0;
    std::string dropRowKey; // drop target row during a drag
};

// Sets the busy flag for a scope and always restores it, so a nested operation does not
// clear the flag of the one that called it.
class BusyScope {
  public:
    explicit BusyScope(BrowserState& state) : state_(state), was_(state.busy) {
        state_.busy = true;
    }
    ~BusyScope() { state_.busy = was_; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    BrowserState& state_;
    bool was_;
};
