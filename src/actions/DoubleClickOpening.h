#pragma once

#include "opening/PathOpener.h"

#include <string>

struct BrowserState;
class FolderTree;
class ListItem;
class MessageBox;
class UiLoop;

// Opening by double-click (and Enter in the list): a file goes to the opener, a folder row
// opens in the tree, a shortcut (".lnk") is followed to its target. A folder target becomes
// the tree's root, or, where the browser explores folder shortcuts, goes to the opener (to
// explore it from the tree, to open it from the list). A shortcut that cannot be read, names
// nothing on the disk or leads nowhere opens nothing; one whose target is missing, like a symbolic
// link that leads nowhere, says so.
class DoubleClickOpening {
  public:
    DoubleClickOpening(BrowserState& state, FolderTree& tree, UiLoop& loop, MessageBox& messages,
                       PathOpener& opener)
        : state_(state), tree_(tree), loop_(loop), messages_(messages), opener_(opener) {}

    // A double-click on the tree node `key` (empty: outside every node).
    void treeDoubleClicked(const std::string& key);
    // A double-click on the list row `key` (empty: outside every row).
    void listDoubleClicked(const std::string& key);
    // Enter in the list: the current row, as a double-click on it.
    void listEnter();

    static bool isShortcut(const std::string& path);

  private:
    void toggle(const std::string& key);
    void openRow(const std::string& key);
    void openFile(const std::string& path, bool fromTree);
    void openShortcut(const std::string& link, bool fromTree);
    void openFolderRow(const std::string& folder, const std::string& name);
    void raise(const std::string& path, OpenMode mode);
    void tellMissingTarget(const std::string& link, const std::string& target);

    BrowserState& state_;
    FolderTree& tree_;
    UiLoop& loop_;
    MessageBox& messages_;
    PathOpener& opener_;
};
