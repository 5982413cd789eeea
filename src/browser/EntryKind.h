#pragma once

#include <string>
#include <string_view>

// What a tree node or a list row stands for. The panes' item collections hold it as the
// tag text the program has always used ("FD", "FL", "NW", "DM"); the code names it here.
enum class EntryKind { Folder, File, NewFolder, Placeholder, Unknown };

class EntryKinds {
  public:
    // The tag text of a kind ("" for Unknown).
    static const std::string& tag(EntryKind kind);
    static EntryKind of(std::string_view tag);
    // The kind of a tree node or list row; Unknown for none.
    template <typename Item> static EntryKind of(const Item* item) {
        return item ? of(item->tag()) : EntryKind::Unknown;
    }
};
