#pragma once

#include "platform/FolderPicker.h"

// The folder chooser as Qt's folder dialog (the desktop's own where Qt has one).
class QtFolderPicker : public FolderPicker {
  public:
    std::string pickFolder(std::uintptr_t owner, std::string_view title,
                           std::string_view initialFolder, std::string_view rootFolder) override;
};
