#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class FileActions;
class FileList;
class FolderTree;
struct BrowserState;

// Shortcut files (".lnk") of selected items: beside each item, in a chosen folder, or
// beside each item and then cut to the clipboard. A shortcut is named after its item
// ("notes" and "notes.txt" give "notes.lnk") and never replaces an existing file: a
// taken name becomes "notes (2).lnk", "notes (3).lnk" and so on.
class ShortcutMaker {
  public:
    // The destination that cuts the new shortcuts to the clipboard.
    static constexpr std::string_view kCut = "*";

    ShortcutMaker(BrowserState& state, FolderTree& tree, FileList& list, FileActions& actions)
        : state_(state), tree_(tree), list_(list), actions_(actions) {}

    // Items that are gone are skipped; a shortcut that cannot be written ends the run
    // (those written stay) without updating the panes or the clipboard.
    void makeShortcuts(const std::vector<std::string>& paths, const std::string& destination);

    // The shortcut's name for an item name: its extension replaced by "lnk", or ".lnk"
    // appended when it has none; `copy` from 2 on adds " (copy)" before the extension.
    static std::string linkName(std::string_view itemName, int copy);

  private:
    // Writes the shortcut of `item` into `folder` under the first free name; its path,
    // or nullopt when it could not be written.
    static std::optional<std::string> write(const std::string& item, const std::string& folder);
    void updatePanes(const std::vector<std::string>& folders, const std::string& destination);

    BrowserState& state_;
    FolderTree& tree_;
    FileList& list_;
    FileActions& actions_;
};
