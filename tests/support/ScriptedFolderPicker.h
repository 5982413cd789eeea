#pragma once

#include "platform/FolderPicker.h"

#include <deque>
#include <string>
#include <vector>

// Records how the chooser was asked for and answers from a script ("" = cancelled when
// the script runs out).
class ScriptedFolderPicker : public FolderPicker {
  public:
    struct Call {
        std::uintptr_t owner = 0;
        std::string title;
        std::string initialFolder;
        std::string rootFolder;
    };

    std::string pickFolder(std::uintptr_t owner, std::string_view title,
                           std::string_view initialFolder, std::string_view rootFolder) override {
        calls.push_back(
            {owner, std::string(title), std::string(initialFolder), std::string(rootFolder)});
        if (answers.empty())
            return {};
        std::string answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<Call> calls;
    std::deque<std::string> answers;
};
