#pragma once

#include "browser/Pane.h"

#include "actions/ActionServices.h"

#include <string>
#include <string_view>
#include <vector>

class FileActions;
class SelectionCollector;
class ShellHandOff;

// Turns a menu family word ("Fold", "Opt", "Send", "SyE"; any letter case) and an item
// index into one action on the tree's (`Pane::Tree`) or the list's selection. Actions on the
// selection do nothing when it is empty or all its items are gone from the disk; items
// that vanished are left out.
class ActionDispatcher {
  public:
    ActionDispatcher(const SelectionCollector& selection, ShellHandOff& handOff,
                     const std::string& root)
        : selection_(selection), handOff_(handOff), root_(root) {}

    void setServices(const ActionServices* services) { services_ = services; }
    void setFileActions(FileActions* actions) { actions_ = actions; }

    void performAction(std::string_view menuFamily, int itemIndex, std::string_view sendToLink,
                       Pane pane);

    // Whether the index, written with two digits, occurs in the mask text.
    static bool inMask(std::string_view mask, int itemIndex);

  private:
    void sendTo(std::string_view sendToLink, Pane pane);
    void fold(int itemIndex, Pane pane);
    void foldOnSelection(int itemIndex, const std::vector<std::string>& paths, Pane pane);
    void opt(int itemIndex, Pane pane);
    void optOnSelection(int itemIndex, const std::vector<std::string>& paths,
                        const std::string& destination);
    // The selection without the items that vanished from the disk meanwhile.
    std::vector<std::string> existing(Pane pane, bool foldersOnly, bool firstOnly) const;
    void copyPathNames(const std::vector<std::string>& paths);

    const SelectionCollector& selection_;
    ShellHandOff& handOff_;
    const std::string& root_;
    const ActionServices* services_ = nullptr;
    FileActions* actions_ = nullptr;
};
