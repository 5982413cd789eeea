#pragma once

#include "browser/Pane.h"

#include <string>
#include <vector>

// Which of the selected items an action takes.
enum class SelectionScope {
    All,
    // Folders only: nothing for a file node; the listed folder itself (with a trailing "/")
    // when no folder row is selected.
    Folders,
    // The first selected row only.
    First,
};

struct BrowserState;
class FolderTree;

// The items an action works on, as whole paths in list order.
class SelectionCollector {
  public:
    SelectionCollector(BrowserState& state, FolderTree& tree) : state_(state), tree_(tree) {}

    // Tree (`Pane::Tree`): the path of the node the tree's actions work on (the pressed node,
    // else the selected one; the root folder when there is neither). List: the selected rows
    // of the listed folder.
    std::vector<std::string> selectedPaths(Pane pane, SelectionScope scope) const;
    // The listed folder with a trailing "/"; "" when the list shows no existing folder.
    std::string listedFolder() const;

  private:
    std::vector<std::string> fromTree(SelectionScope scope) const;
    std::vector<std::string> fromList(SelectionScope scope) const;

    BrowserState& state_;
    FolderTree& tree_;
};
