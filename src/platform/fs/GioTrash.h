#pragma once

#include "platform/Trash.h"

#include <sys/types.h>

// The freedesktop.org trash through GIO: files/ and info/*.trashinfo in the trash of the
// item's volume, so other file managers list and restore what was put there.
class GioTrash : public Trash {
  public:
    Outcome moveToTrash(const std::string& path) override;

  private:
    static void locate(const std::string& path, dev_t device, ino_t inode, Outcome& outcome);
};
