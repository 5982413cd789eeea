#pragma once

#include "platform/FileOpenDialog.h"

#include <deque>
#include <string>
#include <vector>

// Records how the file-open dialog was asked for and answers from a script ("" =
// cancelled when the script runs out).
class ScriptedFileOpenDialog : public FileOpenDialog {
  public:
    struct Call {
        std::string title;
        std::string fileName;
        std::string filter;
        std::string initialFolder;
    };

    std::string chooseFile(std::string_view title, std::string_view fileName,
                           std::string_view filter, std::string_view initialFolder) override {
        calls.push_back({std::string(title), std::string(fileName), std::string(filter),
                         std::string(initialFolder)});
        if (answers.empty())
            return {};
        std::string answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<Call> calls;
    std::deque<std::string> answers;
};
