#pragma once

#include "browser/Pane.h"
#include "platform/FileOperationService.h"

#include <string>
#include <string_view>
#include <vector>

// The operations behind the context menu's items, as the action dispatcher reaches them.
// Selections travel as lists of whole paths: a path may hold any byte but NUL, commas
// included, so no joined text ever stands in for a list inside the program.
class FileActions {
  public:
    virtual ~FileActions() = default;

    // Copy, move or delete (to the trash) through the file-operation service, with its
    // confirmation and progress; true only when everything asked was done.
    virtual bool runFileOperation(FileOperationKind kind, const std::vector<std::string>& sources,
                                  const std::string& destination) = 0;
    virtual void makeNewFolder(Pane pane) = 0;
    virtual void renameSelected(Pane pane) = 0;
    virtual void deleteSelected(const std::vector<std::string>& sources, Pane pane) = 0;
    // Takes the newest recorded operation of this run back (rename, new folder, copy,
    // move, delete to the trash); says so when there is none.
    virtual void undoLast() = 0;
    virtual bool canUndo() const = 0;
    // Brings the tree node of a folder up to date after files were added to it.
    virtual void refreshFolderNode(const std::string& folder) = 0;

    // Files to the clipboard, with the move effect when `cut`.
    virtual void putFilesOnClipboard(const std::vector<std::string>& paths, bool cut) = 0;
    virtual void pasteFiles(Pane pane) = 0;
    // The listed folder's rows as text on the clipboard.
    virtual void copyListAsText() = 0;
    // Shortcuts of the paths: beside each item (empty destination), in a folder, or "*"
    // for beside each item and cut to the clipboard.
    virtual void makeShortcuts(const std::vector<std::string>& paths,
                               const std::string& destination) = 0;
};
