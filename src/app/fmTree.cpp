#include "app/fmTree.h"

#include "app/ShutdownStep.h"
#include "app/Usr.h"
#include "browser/uFile.h"
#include "opening/Fld.h"
#include "platform/MessageBox.h"
#include "platform/UiLoop.h"
#include "settings/ValueText.h"

fmTree::fmTree(Usr& usr, MainWindowView& view, UiLoop& loop, uFile& browser)
    : usr_(usr), view_(view), loop_(loop), browser_(browser) {}

void fmTree::show() {
    load();
    if (!unloaded_)
        view_.show();
}

void fmTree::load() {
    if (loaded_)
        return;
    loaded_ = true;
    try {
        loadWindow();
    } catch (...) {
        loadFinished_ = true; // a later termination request must still end the program
        throw;
    }
    loadFinished_ = true;
    if (unloadAsked_)
        unload(askedEnding_);
}

void fmTree::loadWindow() {
    WaitCursor busy(loop_);
    bNoArr = true;
    bInTray = false;
    browser_.cOn(*this);
    rcWrk = view_.workArea();
    browser_.setFilter("");
    browser_.StPrm(false, usr_.ini(), options);
    SyncDirE();
    placeAtLeftEdge();
    Fld::SetOwnWnd(view_.handle());
    bNoArr = false;
    loop_.processEvents();
}

int fmTree::widthTwips() const {
    return static_cast<int>(
        ValueText::roundHalfEven(view_.frameGeometry().width() * view_.twipsPerPixelX()));
}

void fmTree::setWidthTwips(int twips) {
    PixelRect frame = view_.frameGeometry();
    frame.right =
        frame.left + static_cast<int>(ValueText::roundHalfEven(twips / view_.twipsPerPixelX()));
    view_.setFrameGeometry(frame);
}

ToolPlace fmTree::toolPlace() const {
    const PixelRect frame = view_.frameGeometry();
    const double tppX = view_.twipsPerPixelX();
    const double tppY = view_.twipsPerPixelY();
    ToolPlace place;
    place.left = widthTwips();
    place.top = static_cast<std::int32_t>(ValueText::roundHalfEven(frame.top * tppY));
    place.width =
        static_cast<std::int32_t>(ValueText::roundHalfEven(rcWrk.right * tppX)) - widthTwips();
    place.height = static_cast<std::int32_t>(ValueText::roundHalfEven(frame.height() * tppY));
    return place;
}

void fmTree::placeAtLeftEdge() {
    const PixelRect current = view_.frameGeometry();
    PixelRect placed;
    placed.left = rcWrk.left;
    placed.top = rcWrk.top;
    placed.right = rcWrk.left + current.width();
    placed.bottom = rcWrk.bottom;
    view_.setFrameGeometry(placed);
}

void fmTree::unload(Ending ending) {
    if (unloaded_)
        return;
    if (!loadFinished_) {
        unloadAsked_ = true;
        if (ending == Ending::BySession)
            askedEnding_ = ending;
        return;
    }
    unloaded_ = true;
    const bool byUser = ending == Ending::ByUser;
    // Each step goes on whatever the one before did: the settings are always written and
    // the program always ends.
    shutdownStep([&] { browser_.StPrm(true, usr_.ini(), options); });
    if (byUser)
        shutdownStep([&] { offerToCloseViewers(); });
    shutdownStep(
        [&] { usr_.EndApp(bInTray, view_, byUser ? Usr::Notices::Shown : Usr::Notices::None); });
}

// The kept viewers still shown may be closed with the program; on No they stay.
void fmTree::offerToCloseViewers() {
    if (policy_)
        policy_->adoptViewersLeftRunning();
    const std::string names = sGtOfcOpn();
    if (!names.empty() && usr_.messages().ask(names + "を閉じて良いですか"))
        policy_->closeViewers();
}

std::string fmTree::sGtOfcOpn() const {
    return policy_ ? policy_->sGtOfcOpn() : std::string();
}

void fmTree::SyncDirE() {
    MenuArray& dir = menus_[MenuFamily::Dir];
    MenuArray& copy = menus_[MenuFamily::DirE];
    const int last = copy.upperBound();
    const int used = dir.upperBound();
    for (int i = 0; i <= used; ++i) {
        if (!copy.exists(i)) {
            copy.ensure(i);
            copy.setVisible(i, true);
        }
        if (copy.caption(i) != dir.caption(i))
            copy.setCaption(i, dir.caption(i));
    }
    // Menu items are never destroyed: the surplus ones are hidden.
    for (int j = used + 1; j <= last; ++j)
        copy.setVisible(j, false);
}

void fmTree::ShwMain(bool bShow) {
    bNoArr = true;
    const bool tray = usr_.trayAvailable();
    if (!bShow && !bInTray && tray) {
        usr_.TrayAdd("Tavrin");
        bInTray = true;
    }
    if (view_.minimized() && bShow)
        view_.restore();
    if (bShow || tray)
        view_.setShown(bShow);
    else
        view_.minimize();
    if (bShow)
        usr_.FgMain(view_);
    bNoArr = false;
}

void fmTree::trayRightClicked() {
    usr_.FgMain(view_);
    loop_.processEvents();
    view_.popupOpenMenu();
}

void fmTree::setOpenPolicy(OpenPolicy* policy) {
    policy_ = policy;
    browser_.eSlcFL = [this](std::string& path, bool plainOpen, bool explore) {
        if (policy_)
            policy_->OpnByPlc(path, plainOpen, explore);
    };
    browser_.eBfrOpn = [this] {
        if (policy_)
            policy_->SetPlcRct();
    };
}

void fmTree::resized() {
    if (bNoArr || view_.minimized())
        return;
    // The browser fills the client area by itself; documents placed beside the window
    // follow its new width.
    if (policy_)
        policy_->PlcDocWnd();
}

MessageBox::SaveChoice fmTree::askToSave(std::string_view text) {
    return usr_.messages().askToSave(text);
}

void fmTree::setWaitCursor(bool on) {
    loop_.setWaitCursor(on);
}
