#pragma once

#include "actions/UndoHistory.h"

#include <optional>
#include <string>
#include <vector>

class FileOperationService;
class MessageBox;

// Takes a recorded file operation back, item by item, never overwriting anything: a
// renamed or moved item goes back to its old path (a rename that never replaces; across
// volumes a move through the file-operation service), copies go to the trash, a new
// folder is removed only while empty, a trashed item is renamed back from the trash and
// then its info file removed. An item that changed or vanished since, or whose old path is
// taken, is left as it is; what was not undone is told.
class FileUndo {
  public:
    explicit FileUndo(MessageBox& messages) : messages_(messages) {}
    // The service that moves back across volumes and trashes copies; without one those
    // items are left.
    void setService(FileOperationService* service) { service_ = service; }

    // Undoes what it can of the record; the folders whose entries changed come back.
    std::vector<std::string> undo(const UndoRecord& record);

  private:
    // Each returns why the item was left, or nothing when it was undone.
    std::optional<std::string> unchangedOrWhy(const UndoItem& item) const;
    std::optional<std::string> moveBack(const UndoItem& item);
    std::optional<std::string> moveBackAcrossVolumes(const UndoItem& item);
    std::optional<std::string> removeFolder(const UndoItem& item);
    std::optional<std::string> restoreFromTrash(const UndoItem& item);
    // The copies whose identity still holds go to the trash; why others stayed goes to
    // `refusals`.
    void trashCopies(const std::vector<UndoItem>& items, std::vector<std::string>& refusals);

    MessageBox& messages_;
    FileOperationService* service_ = nullptr;
};
