#pragma once

#include <string>

// The desktop's trash, from which other file managers can restore an item.
// Threads: any one thread at a time (the file operation's worker); blocks on the disk
// for as long as moving the item takes.
class Trash {
  public:
    enum class Result { Done, NoTrash, Failed };
    struct Outcome {
        Result result = Result::Failed;
        std::string reason; // for NoTrash and Failed
        // For Done: the item's path in the trash and its info file; empty when not found.
        std::string trashed;
        std::string info;
    };

    virtual ~Trash() = default;
    // Moves the item (a link itself, never its target) to the trash of its volume.
    virtual Outcome moveToTrash(const std::string& path) = 0;
};
