#include "history/FolderButtons.h"

#include "platform/fs/FileSystem.h"
#include "platform/FolderPicker.h"

FolderButtons::FolderButtons(FolderPicker& picker, Hooks hooks)
    : picker_(picker), hooks_(std::move(hooks)) {}

void FolderButtons::clicked(int index, std::uintptr_t owner) {
    switch (index) {
    case 0:
        chooseRoot(owner);
        break;
    case 1:
        if (hooks_.popUp)
            hooks_.popUp(FolderSubmenu::RecentFolders);
        break;
    case 2:
        if (hooks_.popUp)
            hooks_.popUp(FolderSubmenu::RegisteredFolders);
        break;
    default:
        break;
    }
}

void FolderButtons::chooseRoot(std::uintptr_t owner) {
    std::string start = hooks_.root ? hooks_.root() : std::string();
    // The picker opens on its own default for a root that is gone.
    if (!FileSystem::folderExists(start))
        start.clear();
    const std::string chosen = picker_.pickFolder(owner, kPickerTitle, start, "");
    if (!chosen.empty() && hooks_.setRoot)
        hooks_.setRoot(chosen);
}
