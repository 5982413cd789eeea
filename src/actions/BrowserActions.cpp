#include "actions/BrowserActions.h"

#include "actions/SendToScan.h"
#include "browser/BrowserState.h"
#include "browser/FolderTree.h"
#include "browser/TreeWatch.h"
#include "opening/Fld.h"
#include "platform/Clipboard.h"
#include "platform/FileSystem.h"
#include "platform/PopupMenuView.h"
#include "platform/SystemFolders.h"
#include "platform/UiLoop.h"

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
      selection_(parts.state, parts.tree),
      handOff_(parts.eBfrOpn, parts.eSlcFL, std::move(parts.record)),
      dispatcher_(selection_, handOff_, parts.state.root),
      opening_(parts.state, parts.tree, parts.loop, parts.messages, parts.eSlcFL, parts.bLex),
      place_(PopupPlace::Pointer) {}

void BrowserActions::setServices(ActionServices services) {
    services_ = std::move(services);
    handOff_.setServices(&services_);
    dispatcher_.setServices(&services_);
    menu_.fillSendTo(SendToScan::names(SystemFolders::path(Fld::kSendTo)));
}

void BrowserActions::trAct(std::string_view sGrp, int iNdx, std::string_view sLnk, bool bTrv) {
    dispatcher_.trAct(sGrp, iNdx, sLnk, bTrv);
}

void BrowserActions::ShwMnu(bool pasteAllowed, bool bTrv) {
    if (!services_.popup)
        return;
    menu_.reset(pasteAllowed);
    const auto chosen = services_.popup->popUp(menu_.entries(), place_);
    if (chosen)
        menu_.chosen(*chosen);
    if (menu_.sGrp.empty())
        return;
    const std::string group = menu_.sGrp;
    const std::string link = menu_.sLnk;
    trAct(group, menu_.iNdx, link, bTrv);
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
        state_.pointedKey.empty() ? nullptr : state_.c.trView.find(state_.pointedKey);
    const bool onFile = pointed && pointed->tag() == "FL";
    const bool paste = !onFile && services_.clipboard && services_.clipboard->hasFileList();
    ShwMnu(paste, true);
    watch_.trMark(0);
}

void BrowserActions::listPressed(const std::string& key) {
    watch_.trMark(2);
    const ListItem* row = key.empty() ? nullptr : state_.c.lsView.find(key);
    state_.trackedItem = state_.c.lsView.indexOf(row);
}

void BrowserActions::listReleased(MouseButton button) {
    if (state_.busy)
        return;
    ListControl& list = state_.c.lsView;
    const ListItem* pressed = list.itemAt(state_.trackedItem);
    bool paste = true;
    if (pressed)
        paste = pressed->tag() == "FD";
    else if (ListItem* current = list.current())
        list.setSelected(current, false);
    if (button != MouseButton::Left)
        ShwMnu(paste, false);
}

void BrowserActions::pointAtSelectedNode() {
    const TreeNode* selected = state_.c.trView.selected();
    state_.pointedKey = selected ? selected->key() : std::string();
}

void BrowserActions::pressCurrentRow(bool none) {
    const ListControl& list = state_.c.lsView;
    state_.trackedItem = none ? 0 : list.indexOf(list.current());
}

bool BrowserActions::commonKey(BrowserKey key, KeyModifiers modifiers, bool bTrv) {
    const bool ctrl = modifiers == kCtrl;
    if (key == BrowserKey::F2 && modifiers == KeyModifiers{}) {
        if (!bTrv)
            pressCurrentRow(false);
        trAct("Fold", 14, {}, bTrv);
    } else if (key == BrowserKey::C && ctrl) {
        trAct("Fold", 7, {}, bTrv);
    } else if (key == BrowserKey::X && ctrl) {
        trAct("Fold", 6, {}, bTrv);
    } else if (key == BrowserKey::V && ctrl) {
        if (!bTrv)
            pressCurrentRow(true);
        trAct("Fold", 8, {}, bTrv);
    } else if (key == BrowserKey::Menu || (key == BrowserKey::F10 && modifiers == kShift)) {
        bTrv ? treeMenuByKey() : listMenuByKey();
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
        trAct("Fold", 13, {}, true);
        return;
    }
    commonKey(key, modifiers, true);
}

void BrowserActions::listKey(BrowserKey key, KeyModifiers modifiers) {
    if (key == BrowserKey::Delete)
        trAct("Fold", 13, {}, false);
    else if (key == BrowserKey::Enter)
        opening_.listEnter();
    else if (key == BrowserKey::Backspace && modifiers == KeyModifiers{})
        openListParent();
    else
        commonKey(key, modifiers, false);
}

void BrowserActions::treeMenuByKey() {
    const TreeNode* selected = state_.c.trView.selected();
    const std::string key = selected ? selected->key() : std::string();
    PlaceScope place(place_, PopupPlace::FocusItem);
    treePressed(key, MouseButton::Right);
    treeReleased(MouseButton::Right);
}

void BrowserActions::listMenuByKey() {
    const ListItem* current = state_.c.lsView.current();
    const std::string key = current ? std::string(current->key()) : std::string();
    PlaceScope place(place_, PopupPlace::FocusItem);
    listPressed(key);
    listReleased(MouseButton::Right);
}

void BrowserActions::openListParent() {
    if (state_.busy)
        return;
    TreeNode* listed = tree_.trCurNd();
    if (!listed)
        return;
    if (TreeNode* parent = listed->parent()) {
        const std::string key = parent->key();
        state_.c.trView.select(parent);
        watch_.nodePressed(key, MouseButton::Left);
        return;
    }
    const std::string up = FileSystem::parentOf(state_.root);
    if (!up.empty() && up != state_.root)
        tree_.setRoot(up);
}
