#pragma once

#include "actions/BrowserCommand.h"
#include "controls/MenuArray.h"
#include "platform/PopupMenuView.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The browser's context menu as data: the item arrays of the menu itself, of the send-to
// submenu (its item 4) and of the extended submenu (its item 10, numbered from 4). A chosen
// entry is read back as the command it stands for. The same menu serves tree and list,
// folders and files; only paste and undo are ever disabled.
class ContextMenu {
  public:
    static constexpr std::string_view kCaption = "FolderBrowserのPopUp";
    static constexpr int kSendToItem = 4;
    static constexpr int kPasteItem = 8;
    static constexpr int kExtendedItem = 10;
    // The extended submenu's last item.
    static constexpr int kUndoItem = 12;

    ContextMenu();

    // One send-to item per shortcut name (without ".lnk"); the submenu and its separator
    // show when there is at least one.
    void fillSendTo(const std::vector<std::string>& names);

    // Before each showing: paste enabled as given.
    void reset(bool canPaste);
    // Before each showing: undo enabled while there is something to undo.
    void setUndoable(bool canUndo);
    // The entries to show, as the arrays stand; ids lead back to the items.
    std::vector<PopupEntry> entries() const;
    // The command of the entry with this id; none for an id that stands for no command.
    std::optional<ChosenCommand> commandOf(int id) const;

    MenuArray editItems{0, "編集"};
    MenuArray contextItems;
    MenuArray sendToItems;
    MenuArray extendedItems;

  private:
    static void append(std::vector<PopupEntry>& entries, const MenuArray& array, int family,
                       const ContextMenu* submenus);
};
