#pragma once

#include "platform/FileOperationDialogs.h"
#include "platform/FileOperationProgress.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

// Answers the questions of a file operation from a script and records what was asked.
// Unscripted questions get the cautious answer: no, cancel.
class ScriptedFileOperationDialogs : public FileOperationDialogs {
  public:
    bool confirmDelete(const std::vector<std::string>& paths) override {
        asked.push_back("delete " + std::to_string(paths.size()));
        return next(deleteAnswers, false);
    }
    DeleteForGoodAnswer confirmDeleteForGood(const std::string& path) override {
        asked.push_back("for good " + path);
        return next(forGoodAnswers, DeleteForGoodAnswer{});
    }
    ConflictAnswer askConflict(const std::string&, const std::string& target,
                               ReplaceOffer offer) override {
        asked.push_back(
            (offer == ReplaceOffer::Offered ? "conflict " : "conflict, kinds differ, ") + target);
        return next(conflictAnswers, ConflictAnswer{});
    }
    ErrorChoice askError(const std::string& path, const std::string& reason) override {
        asked.push_back("error " + path);
        reasons.push_back(reason);
        return next(errorAnswers, ErrorChoice::Cancel);
    }
    void refuse(const std::string& message) override { asked.push_back("refused " + message); }

    std::vector<std::string> asked;
    std::vector<std::string> reasons;
    std::deque<bool> deleteAnswers;
    std::deque<DeleteForGoodAnswer> forGoodAnswers;
    std::deque<ConflictAnswer> conflictAnswers;
    std::deque<ErrorChoice> errorAnswers;

  private:
    template <typename T> static T next(std::deque<T>& answers, T fallback) {
        if (answers.empty())
            return fallback;
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// Progress that the test can act on at each report (to cancel, or to change the disk).
class ScriptedProgress : public FileOperationProgress {
  public:
    void update(const FileOperationStatus& status) override {
        ++updates;
        last = status;
        if (onUpdate)
            onUpdate(status);
    }
    int updates = 0;
    FileOperationStatus last;
    std::function<void(const FileOperationStatus&)> onUpdate;
};
