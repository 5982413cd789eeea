#pragma once

#include "platform/ItemIdentity.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

// What a completed file operation did, item by item, with whole paths.
enum class UndoKind { Rename, NewFolder, Move, Copy, Trash };

// One item of an operation: `original` is where it was before (the old name, the moved
// item's source, the trashed item's path; unused for a new folder), `placed` where the
// operation left it (the new name, the new folder, the moved or copied item, the file in
// the trash), `info` the trash's info file, and `identity` the placed item's right after.
struct UndoItem {
    std::string original;
    std::string placed;
    std::string info;
    ItemIdentity identity;
};

struct UndoRecord {
    UndoKind kind = UndoKind::Rename;
    std::vector<UndoItem> items;
};

// The last file operations of this run, newest on top, at most kLimit: a further one
// pushes the oldest out.
class UndoHistory {
  public:
    static constexpr std::size_t kLimit = 10;

    // A record without items is not kept.
    void push(UndoRecord record);
    // The newest record, taken off.
    std::optional<UndoRecord> pop();
    bool empty() const { return records_.empty(); }
    std::size_t size() const { return records_.size(); }

  private:
    std::deque<UndoRecord> records_;
};
