#include "platform/qt/QuestionGate.h"

#include "platform/fs/FileSystem.h"
#include "platform/qt/QtFileOperationDialogs.h"

#include <unistd.h>

namespace {

bool writable(const std::string& folder) {
    return !folder.empty() && ::access(folder.c_str(), W_OK) == 0;
}

} // namespace

template <typename F> auto QuestionGate::ask(F&& question) {
    ++asking_;
    struct Answered {
        QuestionGate& gate;
        ~Answered() {
            gate.answered_ = true;
            --gate.asking_;
        }
    } answered{*this};
    return question();
}

bool QuestionGate::confirmDelete(const std::vector<std::string>& paths) {
    return ask([&] { return dialogs_.confirmDelete(paths); });
}

DeleteForGoodAnswer QuestionGate::confirmDeleteForGood(const std::string& path) {
    return ask([&] { return dialogs_.confirmDeleteForGood(path); });
}

ConflictAnswer QuestionGate::askConflict(const std::string& source, const std::string& target,
                                         ReplaceOffer offer) {
    return ask([&] { return dialogs_.askConflict(source, target, offer); });
}

ErrorChoice QuestionGate::askError(const std::string& path, const std::string& reason) {
    const std::string folder = refusingFolder(request_, path);
    return ask([&] {
        return folder.empty() ? dialogs_.askError(path, reason)
                              : dialogs_.askWriteError(folder, path, reason);
    });
}

void QuestionGate::refuse(const std::string& message) {
    ask([&] {
        dialogs_.refuse(message);
        return true;
    });
}

std::string QuestionGate::refusingFolder(const FileOperationRequest& request,
                                         const std::string& path) {
    if (request.kind != FileOperationKind::Delete && !request.destination.empty() &&
        !writable(request.destination))
        return request.destination;
    const std::string from = FileSystem::parentOf(path);
    if (request.kind != FileOperationKind::Copy && !writable(from))
        return from;
    return {};
}
