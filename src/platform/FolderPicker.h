#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The modal folder chooser.
// Threads: the user-interface thread; modal, so it returns when the user has chosen.
class FolderPicker {
  public:
    virtual ~FolderPicker() = default;
    // Shows the chooser over the owner window (0: none) with the title. It opens on the
    // initial folder, or on the root folder when there is none ("" for both: the
    // chooser's own default). Returns the chosen folder, "" when cancelled.
    virtual std::string pickFolder(std::uintptr_t owner, std::string_view title,
                                   std::string_view initialFolder, std::string_view rootFolder) = 0;
};
