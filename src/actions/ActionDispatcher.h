#pragma once

#include "browser/Pane.h"

#include "actions/ActionServices.h"
#include "actions/BrowserCommand.h"
#include "actions/SelectionCollector.h"

#include <string>
#include <string_view>
#include <vector>

class FileActions;
class ShellHandOff;

// Carries out one command on the tree's (`Pane::Tree`) or the list's selection. Commands
// on the selection do nothing when it is empty or all its items are gone from the disk;
// items that vanished are left out. Commands that need a destination ask for it first.
class ActionDispatcher {
  public:
    ActionDispatcher(const SelectionCollector& selection, ShellHandOff& handOff,
                     const std::string& root)
        : selection_(selection), handOff_(handOff), root_(root) {}

    void setServices(const ActionServices* services) { services_ = services; }
    void setFileActions(FileActions* actions) { actions_ = actions; }
    bool canUndo() const;

    // `sendToLink` names the send-to shortcut of BrowserCommand::SendTo.
    void perform(BrowserCommand command, Pane pane, std::string_view sendToLink = {});

  private:
    // What a command works on: the selection (or only its first item, or its folders),
    // and the folder the user is asked for first.
    struct Needs {
        bool selection = true;
        SelectionScope scope = SelectionScope::All;
        std::string_view destinationTitle;
    };
    static Needs needsOf(BrowserCommand command);
    void performOn(BrowserCommand command, const std::vector<std::string>& paths,
                   const std::string& destination, Pane pane, std::string_view sendToLink);
    void performFileAction(BrowserCommand command, const std::vector<std::string>& paths,
                           const std::string& destination, Pane pane);
    // The selection without the items that vanished from the disk meanwhile.
    std::vector<std::string> existing(Pane pane, SelectionScope scope) const;
    void copyPathNames(const std::vector<std::string>& paths);

    const SelectionCollector& selection_;
    ShellHandOff& handOff_;
    const std::string& root_;
    const ActionServices* services_ = nullptr;
    FileActions* actions_ = nullptr;
};
