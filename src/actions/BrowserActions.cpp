#include "actions/BrowserActions.h"

#include "actions/SendToScan.h"
#include "browser/BrowserState.h"
#include "browser/EntryKind.h"
#include "browser/FolderTree.h"
#include "browser/TreeWatch.h"
#include "opening/ShellServices.h"
#include "platform/Clipboard.h"
#include "platform/PopupMenuView.h"
#include "platform/UiLoop.h"
#include "platform/desktop/SystemFolders.h"
#include "platform/fs/FileSystem.h"

namespace {

constexpr KeyModifiers kCtrl{false, true, false};
constexpr KeyModifiers kShift{true, false, false};

// Shows the menus of one handler at another place, and always goes back to the pointer.
class PlaceScope {
  public:
    PlaceScope(PopupPlace& place, PopupPlace now) : place_(place) { place_ = now; }
    ~PlaceScope() { place_ = PopupPlace::Pointer; }
    PlaceScope(const PlaceScope&) = delete;
    PlaceScope& operator=(const PlaceScope&) = delete;

  private:
    PopupPlace& place_;
};

} // namespace

BrowserActions::BrowserActions(Parts parts)
    : state_(parts.state), tree_(parts.tree), watch_(parts.watch), loop_(parts.loop),
      selection_(parts.state, parts.tree), handOff_(parts.opener, std::move(parts.record)),
      dispatcher_(selection_, handOff_, parts.state.root),
      opening_(parts.state, parts.tree, parts.loop, parts.messages, parts.opener),
      place_(PopupPlace::Pointer), toggleHiddenEntries_(std::move(parts.toggleHiddenEntries)) {}

void BrowserActions::setServices(ActionServices services) {
    services_ = std::move(services);
    handOff_.setServices(&services_);
    dispatcher_.setServices(&services_);
    menu_.fillSendTo(SendToScan::names(SystemFolders::path(SystemFolder::SendTo)));
}

void BrowserActions::showContextMenu(bool pasteAllowed, Pane pane) {
    if (!services_.popup)
        return;
    menu_.reset(pasteAllowed);
    menu_.setUndoable(dispatcher_.canUndo());
    const std::optional<int> id = [&] {
        // While the menu is up, no folder's late read changes the panes it was opened on.
        BusyScope busy(state_);
        return services_.popup->popUp(menu_.entries(), place_);
    }();
    if (!id)
        return;
    if (const std::optional<ChosenCommand> chosen = menu_.commandOf(*id))
        dispatcher_.perform(chosen->command, pane, chosen->sendToLink);
}

void BrowserActions::treePressed(const std::string& key, MouseButton button) {
    watch_.nodePressed(key, button);
}

void BrowserActions::treeReleased(MouseButton button) {
    if (state_.busy)
        return;
    BusyScope busy(state_);
    if (button != MouseButton::Right)
        return;
    const TreeNode* pointed =
        state_.pointedKey.empty() ? nullptr : state_.c.treeControl.find(state_.pointedKey);
    const bool onFile = pointed && EntryKinds::of(pointed) == EntryKind::File;
    const bool paste = !onFile && services_.clipboard && services_.clipboard->hasFileList();
    showContextMenu(paste, Pane::Tree);
    watch_.markNode(0);
}

void BrowserActions::listPressed(const std::string& key) {
    watch_.markNode(2);
    const ListItem* row = key.empty() ? nullptr : state_.c.listControl.find(key);
    state_.trackedItem = state_.c.listControl.indexOf(row);
}

void BrowserActions::listReleased(MouseButton button) {
    if (state_.busy)
        return;
    ListControl& list = state_.c.listControl;
    const ListItem* pressed = list.itemAt(state_.trackedItem);
    bool paste = true;
    if (pressed)
        paste = EntryKinds::of(pressed) == EntryKind::Folder;
    else if (ListItem* current = list.current())
        list.setSelected(current, false);
    if (button != MouseButton::Left)
        showContextMenu(paste, Pane::List);
}

void BrowserActions::pointAtSelectedNode() {
    const TreeNode* selected = state_.c.treeControl.selected();
    state_.pointedKey = selected ? selected->key() : std::string();
}

void BrowserActions::pressCurrentRow(bool none) {
    const ListControl& list = state_.c.listControl;
    state_.trackedItem = none ? 0 : list.indexOf(list.current());
}

bool BrowserActions::commonKey(BrowserKey key, KeyModifiers modifiers, Pane pane) {
    const bool ctrl = modifiers == kCtrl;
    if (key == BrowserKey::F2 && modifiers == KeyModifiers{}) {
        if (pane == Pane::List)
            pressCurrentRow(false);
        perform(BrowserCommand::Rename, pane);
    } else if (key == BrowserKey::C && ctrl) {
        perform(BrowserCommand::Copy, pane);
    } else if (key == BrowserKey::X && ctrl) {
        perform(BrowserCommand::Cut, pane);
    } else if (key == BrowserKey::Z && ctrl) {
        perform(BrowserCommand::Undo, pane);
    } else if (key == BrowserKey::H && ctrl) {
        if (toggleHiddenEntries_)
            toggleHiddenEntries_();
    } else if (key == BrowserKey::V && ctrl) {
        if (pane == Pane::List)
            pressCurrentRow(true);
        perform(BrowserCommand::Paste, pane);
    } else if (key == BrowserKey::Menu || (key == BrowserKey::F10 && modifiers == kShift)) {
        pane == Pane::Tree ? treeMenuByKey() : listMenuByKey();
    } else {
        return false;
    }
    return true;
}

void BrowserActions::treeKey(BrowserKey key, KeyModifiers modifiers) {
    // A key acts on the selected node, never on one a dismissed menu was opened on.
    pointAtSelectedNode();
    if (key == BrowserKey::Delete) {
        WaitCursor wait(loop_);
        perform(BrowserCommand::Delete, Pane::Tree);
        return;
    }
    commonKey(key, modifiers, Pane::Tree);
}

void BrowserActions::listKey(BrowserKey key, KeyModifiers modifiers) {
    if (key == BrowserKey::Delete)
        perform(BrowserCommand::Delete, Pane::List);
    else if (key == BrowserKey::Enter)
        opening_.listEnter();
    else if (key == BrowserKey::Backspace && modifiers == KeyModifiers{})
        openListParent();
    else
        commonKey(key, modifiers, Pane::List);
}

void BrowserActions::treeMenuByKey() {
    const TreeNode* selected = state_.c.treeControl.selected();
    const std::string key = selected ? selected->key() : std::string();
    PlaceScope place(place_, PopupPlace::FocusItem);
    treePressed(key, MouseButton::Right);
    treeReleased(MouseButton::Right);
}

void BrowserActions::listMenuByKey() {
    const ListItem* current = state_.c.listControl.current();
    const std::string key = current ? std::string(current->key()) : std::string();
    PlaceScope place(place_, PopupPlace::FocusItem);
    listPressed(key);
    listReleased(MouseButton::Right);
}

void BrowserActions::openListParent() {
    if (state_.busy)
        return;
    TreeNode* listed = tree_.currentNode();
    if (!listed)
        return;
    if (TreeNode* parent = listed->parent()) {
        const std::string key = parent->key();
        state_.c.treeControl.select(parent);
        watch_.nodePressed(key, MouseButton::Left);
        return;
    }
    const std::string up = FileSystem::parentOf(state_.root);
    if (!up.empty() && up != state_.root)
        tree_.setRoot(up);
}
