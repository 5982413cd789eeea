#pragma once

#include "platform/MessageBox.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

// Records every message and answers questions from a script (No when it runs out).
class ScriptedMessageBox : public MessageBox {
  public:
    void inform(std::string_view text) override {
        shown.emplace_back(text);
        if (whileShown)
            whileShown();
    }
    void notify(std::string_view text) override { notices.emplace_back(text); }
    bool ask(std::string_view text) override {
        shown.emplace_back(text);
        if (answers.empty())
            return false;
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }

    SaveChoice askToSave(std::string_view text) override {
        shown.emplace_back(text);
        if (saveChoices.empty())
            return SaveChoice::Cancel;
        const SaveChoice choice = saveChoices.front();
        saveChoices.pop_front();
        return choice;
    }

    std::vector<std::string> shown;
    std::vector<std::string> notices; // shown beside the window, holding nothing
    std::deque<SaveChoice> saveChoices;
    std::deque<bool> answers;
    // Runs while a notice is open, as events that arrive during its event loop would.
    std::function<void()> whileShown;
};
