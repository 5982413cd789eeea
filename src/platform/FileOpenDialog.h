#pragma once

#include <string>
#include <string_view>

// The modal file-open dialog.
// Threads: the user-interface thread; modal, so it returns when the user has chosen.
class FileOpenDialog {
  public:
    virtual ~FileOpenDialog() = default;
    // `filter` is a list of description and pattern pairs joined by "|"
    // ("Programs (*.exe)|*.exe|All|*"); the first pair is selected. The dialog opens on
    // `initialFolder` unless it is "", with `fileName` preset. Returns the chosen file's
    // path, "" when cancelled.
    virtual std::string chooseFile(std::string_view title, std::string_view fileName,
                                   std::string_view filter, std::string_view initialFolder) = 0;
};
