#pragma once

#include "browser/Pane.h"

#include <string>
#include <vector>

struct BrowserState;
class FolderTree;

// The items an action works on, as whole paths in list order.
class SelectionCollector {
  public:
    SelectionCollector(BrowserState& state, FolderTree& tree) : state_(state), tree_(tree) {}

    // Tree (`Pane::Tree`): the path of the node the tree's actions work on (the pressed node, else
    // the selected one; the root folder when there is neither);
    // with `foldersOnly` nothing for a file node. List: the selected rows of the listed
    // folder; `foldersOnly` passes over file rows (`firstOnly`: stops at the first one),
    // `firstOnly` takes the first row. When `foldersOnly` finds no folder row, the listed
    // folder itself with a trailing "/".
    std::vector<std::string> selectedPaths(Pane pane, bool foldersOnly, bool firstOnly) const;
    // The listed folder with a trailing "/"; "" when the list shows no existing folder.
    std::string listedFolder() const;

  private:
    std::vector<std::string> fromTree(bool foldersOnly) const;
    std::vector<std::string> fromList(bool foldersOnly, bool firstOnly) const;

    BrowserState& state_;
    FolderTree& tree_;
};
