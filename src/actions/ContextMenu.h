#pragma once

#include "platform/PopupMenuView.h"
#include "controls/MenuArray.h"

#include <string>
#include <string_view>
#include <vector>

// The browser's context menu as data: the item arrays "Fold" (the menu itself), "Send"
// (the send-to submenu, item 4 of "Fold") and "Opt" (the extended submenu, item 10 of
// "Fold", numbered from 4), and the record of the chosen item that the menu leaves for
// the dispatcher. The same menu serves tree and list, folders and files; only paste is
// ever disabled.
class ContextMenu {
  public:
    static constexpr std::string_view kCaption = "FolderBrowserのPopUp";
    static constexpr int kSendToItem = 4;
    static constexpr int kPasteItem = 8;
    static constexpr int kExtendedItem = 10;

    ContextMenu();

    // One send-to item per shortcut name (without ".lnk"); the submenu and its separator
    // show when there is at least one.
    void fillSendTo(const std::vector<std::string>& names);

    // Before each showing: nothing chosen, paste enabled as given.
    void reset(bool canPaste);
    // The entries to show, as the arrays stand; ids lead back to the items.
    std::vector<PopupEntry> entries() const;
    // The click handler of the entry with this id.
    void chosen(int id);
    void contextItems_Click(int index);
    void extendedItems_Click(int index);
    void sendToItems_Click(int index);

    MenuArray editItems{0, "編集"};
    MenuArray contextItems;
    MenuArray sendToItems;
    MenuArray extendedItems;

    // The chosen item: family word ("" for none), index, send-to name.
    std::string menuFamily;
    short itemIndex = 0;
    std::string sendToLink;

  private:
    static void append(std::vector<PopupEntry>& entries, const MenuArray& array, int family,
                       const ContextMenu* submenus);
};
