#include "app/fmTree.h"

#include "app/Usr.h"
#include "browser/uFile.h"
#include "opening/Fld.h"
#include "platform/UiLoop.h"
#include "settings/ValueText.h"

fmTree::fmTree(Usr& usr, MainWindowView& view, UiLoop& loop, uFile& browser)
    : usr_(usr), view_(view), loop_(loop), browser_(browser) {
    mnVwF_.ensure(1);
}

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
    browser_.cOn(*this);
    rcWrk = view_.workArea();
    browser_.setFilter("");
    browser_.StPrm(false, usr_.ini(), options);
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
    frame.right = frame.left + static_cast<int>(ValueText::roundHalfEven(twips / view_.twipsPerPixelX()));
    view_.setFrameGeometry(frame);
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
    // Each step goes on whatever the one before did: the settings are always written.
    browser_.StPrm(true, usr_.ini(), options);
    // The office instances left open are offered to be closed here.
    usr_.EndApp(bInTray, view_);
}

std::string fmTree::sGtOfcOpn() const { return {}; }
