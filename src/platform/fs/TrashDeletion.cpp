#include "platform/fs/TrashDeletion.h"

#include "platform/Trash.h"
#include "platform/fs/DirectoryTree.h"
#include "platform/fs/FileDescriptor.h"
#include "platform/fs/FileSystem.h"
#include "platform/text/PathText.h"

#include <cerrno>
#include <fcntl.h>

bool TrashDeletion::run(const FileOperationRequest& request) {
    forGoodForAll_.reset();
    if (!request.noConfirmation && !dialogs_.confirmDelete(request.sources))
        return false;
    status_.itemsTotal = request.sources.size();
    bool allDone = true;
    for (const std::string& path : request.sources) {
        status_.current = path;
        progress_.update(status_);
        const FileStep step = deleteOne(path, request.trashOnly);
        if (step == FileStep::Cancelled)
            return false;
        allDone = allDone && step == FileStep::Done;
        ++status_.itemsDone;
    }
    return allDone && !cancelled_;
}

FileStep TrashDeletion::deleteOne(const std::string& path, bool trashOnly) {
    for (;;) {
        if (cancelled_)
            return FileStep::Cancelled;
        const Trash::Outcome outcome = trash_.moveToTrash(path);
        if (outcome.result == Trash::Result::Done) {
            recordTrashed(path, outcome);
            return FileStep::Done;
        }
        if (outcome.result == Trash::Result::NoTrash)
            return trashOnly ? FileStep::Skipped : deleteForGood(path);
        if (const auto step = questions_.afterFailure(path, outcome.reason))
            return *step;
    }
}

void TrashDeletion::recordTrashed(const std::string& path, const Trash::Outcome& outcome) {
    if (outcome.trashed.empty() || outcome.info.empty())
        return;
    if (const auto identity = FileSystem::identity(outcome.trashed))
        trashed_.push_back({path, outcome.trashed, outcome.info, *identity});
}

FileStep TrashDeletion::deleteForGood(const std::string& path) {
    if (!forGoodForAll_) {
        const DeleteForGoodAnswer answer = dialogs_.confirmDeleteForGood(path);
        if (answer.applyToAll)
            forGoodForAll_ = answer.confirmed;
        if (!answer.confirmed)
            return FileStep::Skipped;
    } else if (!*forGoodForAll_) {
        return FileStep::Skipped;
    }
    const auto parts = PathText::folderAndName(path);
    FileDescriptor dir(open(parts.first.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return questions_.retrying(path, [&] {
        return !dir.valid() ? errno : DirectoryTree::remove(dir.get(), parts.second);
    });
}
