#include "actions/FileUndo.h"

#include "platform/FileOperationService.h"
#include "platform/MessageBox.h"
#include "platform/fs/FileSystem.h"
#include "platform/text/PathText.h"
#include "platform/text/SystemErrorText.h"

#include <algorithm>
#include <cerrno>

namespace {

constexpr std::string_view kRefused = "元に戻せません: 「";

std::string changedOrGone(const std::string& path) {
    return std::string(kRefused) + path + "」は変更されたか、見つかりません";
}

std::string failed(const UndoItem& item, int error) {
    if (error == EEXIST || error == ENOTEMPTY)
        return std::string(kRefused) + item.original + "」は既にあります";
    return std::string(kRefused) + item.placed + "」\r" + SystemErrorText::text(error);
}

std::string parentOf(const std::string& path) {
    return PathText::folderAndName(path).first;
}

} // namespace

std::vector<std::string> FileUndo::undo(const UndoRecord& record) {
    std::vector<std::string> refusals;
    std::vector<std::string> folders;
    // Newest item first, so an item placed inside an earlier one goes back before it.
    for (auto item = record.items.rbegin(); item != record.items.rend(); ++item) {
        folders.push_back(parentOf(item->placed));
        if (!item->original.empty())
            folders.push_back(parentOf(item->original));
        std::optional<std::string> why;
        switch (record.kind) {
        case UndoKind::Rename:
        case UndoKind::Move:
            why = moveBack(*item);
            break;
        case UndoKind::NewFolder:
            why = removeFolder(*item);
            break;
        case UndoKind::Trash:
            why = restoreFromTrash(*item);
            break;
        case UndoKind::Copy:
            break;
        }
        if (why)
            refusals.push_back(std::move(*why));
    }
    if (record.kind == UndoKind::Copy)
        trashCopies(record.items, refusals);
    if (!refusals.empty()) {
        std::string text;
        for (const std::string& line : refusals)
            text += (text.empty() ? "" : "\r") + line;
        messages_.inform(text);
    }
    std::sort(folders.begin(), folders.end());
    folders.erase(std::unique(folders.begin(), folders.end()), folders.end());
    return folders;
}

std::optional<std::string> FileUndo::unchangedOrWhy(const UndoItem& item) const {
    const auto now = FileSystem::identity(item.placed);
    if (!now || *now != item.identity)
        return changedOrGone(item.placed);
    return std::nullopt;
}

std::optional<std::string> FileUndo::moveBack(const UndoItem& item) {
    if (auto why = unchangedOrWhy(item))
        return why;
    const int error = FileSystem::moveNoReplace(item.placed, item.original);
    if (error == EXDEV)
        return moveBackAcrossVolumes(item);
    return error == 0 ? std::nullopt : std::optional(failed(item, error));
}

// The file-operation engine copies the item back under its own name, never over an
// existing one; a name the move changed cannot be restored that way.
std::optional<std::string> FileUndo::moveBackAcrossVolumes(const UndoItem& item) {
    const auto [folder, name] = PathText::folderAndName(item.original);
    if (!service_ || name != PathText::folderAndName(item.placed).second)
        return failed(item, EXDEV);
    if (FileSystem::identity(item.original))
        return failed(item, EEXIST);
    FileOperationRequest request;
    request.kind = FileOperationKind::Move;
    request.sources = {item.placed};
    request.destination = folder;
    request.noConfirmation = true;
    const FileOperationResult result = service_->run(request);
    if (result.placed.size() == 1 && result.placed.front().placed == item.original)
        return std::nullopt;
    return std::string(kRefused) + item.placed + "」を「" + item.original + "」に戻せません";
}

std::optional<std::string> FileUndo::removeFolder(const UndoItem& item) {
    const auto now = FileSystem::identity(item.placed);
    // Entries added and removed meanwhile change its times, not what it is.
    if (!now || now->device != item.identity.device || now->inode != item.identity.inode)
        return changedOrGone(item.placed);
    const int error = FileSystem::removeEmptyFolder(item.placed);
    if (error == ENOTEMPTY || error == EEXIST)
        return std::string(kRefused) + "ﾌｫﾙﾀﾞ「" + item.placed + "」は空ではありません";
    return error == 0 ? std::nullopt : std::optional(failed(item, error));
}

// The item is back under its old path before its info file goes, so a failure between
// the two steps loses nothing.
std::optional<std::string> FileUndo::restoreFromTrash(const UndoItem& item) {
    if (auto why = unchangedOrWhy(item))
        return why;
    const int error = FileSystem::moveNoReplace(item.placed, item.original);
    if (error != 0)
        return failed(item, error);
    FileSystem::removeFile(item.info);
    return std::nullopt;
}

void FileUndo::trashCopies(const std::vector<UndoItem>& items, std::vector<std::string>& refusals) {
    FileOperationRequest request;
    request.kind = FileOperationKind::Delete;
    request.noConfirmation = true;
    request.trashOnly = true;
    for (const UndoItem& item : items) {
        if (auto why = unchangedOrWhy(item))
            refusals.push_back(std::move(*why));
        else
            request.sources.push_back(item.placed);
    }
    if (request.sources.empty())
        return;
    if (service_)
        service_->run(request);
    for (const std::string& path : request.sources)
        if (FileSystem::identity(path))
            refusals.push_back(std::string(kRefused) + path + "」をごみ箱に移せません");
}
