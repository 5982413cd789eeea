#pragma once

#include "browser/Pane.h"

#include "actions/ActionDispatcher.h"
#include "actions/ActionServices.h"
#include "actions/ContextMenu.h"
#include "actions/DoubleClickOpening.h"
#include "actions/SelectionCollector.h"
#include "actions/ShellHandOff.h"
#include "controls/ControlTypes.h"

#include <functional>
#include <string>
#include <string_view>

struct BrowserState;
class FileActions;
class FolderTree;
class MessageBox;
class PathOpener;
class TreeWatch;
class UiLoop;
enum class PopupPlace;

// The browser's input as far as it leads to actions: presses and releases that show the
// context menu, the keys of both panes, double-clicks, and the dispatch of the chosen
// item. The control forwards its pane input here.
class BrowserActions {
  public:
    struct Parts {
        BrowserState& state;
        FolderTree& tree;
        TreeWatch& watch;
        UiLoop& loop;
        MessageBox& messages;
        PathOpener& opener;
        ShellHandOff::Record record;
        // Ctrl+H in either pane: shows or hides the hidden entries.
        std::function<void()> toggleHiddenEntries;
    };

    explicit BrowserActions(Parts parts);

    // Loads the send-to submenu from the send-to folder.
    void setServices(ActionServices services);
    void setFileActions(FileActions* actions) { dispatcher_.setFileActions(actions); }

    // `sendToLink` names the send-to shortcut of BrowserCommand::SendTo.
    void perform(BrowserCommand command, Pane pane, std::string_view sendToLink = {}) {
        dispatcher_.perform(command, pane, sendToLink);
    }
    void exploreSystemFolder(SystemFolderChoice choice) { handOff_.exploreSystemFolder(choice); }
    // Shows the context menu and runs the chosen item; nothing when none was chosen.
    void showContextMenu(bool pasteAllowed, Pane pane);

    void treePressed(const std::string& key, MouseButton button);
    void treeReleased(MouseButton button);
    void listPressed(const std::string& key);
    void listReleased(MouseButton button);
    void treeKey(BrowserKey key, KeyModifiers modifiers);
    void listKey(BrowserKey key, KeyModifiers modifiers);
    void treeDoubleClicked(const std::string& key) { opening_.treeDoubleClicked(key); }
    void listDoubleClicked(const std::string& key) { opening_.listDoubleClicked(key); }

    const ContextMenu& menu() const { return menu_; }
    const SelectionCollector& selection() const { return selection_; }

  private:
    // The item a key acts on, as a press there would make it: the selected node, the
    // current row (none for paste, which then goes into the listed folder).
    void pointAtSelectedNode();
    void pressCurrentRow(bool none);
    // Context menu by key, for the selected node or the current row.
    void treeMenuByKey();
    void listMenuByKey();
    void openListParent();
    // The common keys of both panes; false when the key is not one of them.
    bool commonKey(BrowserKey key, KeyModifiers modifiers, Pane pane);

    BrowserState& state_;
    FolderTree& tree_;
    TreeWatch& watch_;
    UiLoop& loop_;
    ActionServices services_;
    ContextMenu menu_;
    SelectionCollector selection_;
    ShellHandOff handOff_;
    ActionDispatcher dispatcher_;
    DoubleClickOpening opening_;
    PopupPlace place_;
    std::function<void()> toggleHiddenEntries_;
};
