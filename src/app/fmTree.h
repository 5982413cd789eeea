#pragma once

#include "browser/BrowserHost.h"
#include "platform/MainWindowView.h"
#include "platform/controls/MenuArray.h"

#include <string>

class Usr;
class UiLoop;
class uFile;

// The main window's logic: load (browser parameters, placement at the left edge of the
// work area at full height), unload (parameters stored, settings written, program
// ended) and the state other parts read. It is the browser control's host.
class fmTree : public BrowserHost {
public:
    // Client area as designed, in twips.
    static constexpr int kDesignedWidthTwips = 2730;
    static constexpr int kDesignedHeightTwips = 3990;

    fmTree(Usr& usr, MainWindowView& view, UiLoop& loop, uFile& browser);

    // Loads the window (once) and shows it.
    void show();
    void load();
    // Runs once, however often the close box, the exit menu, a signal or the end of the
    // desktop session ask for it.
    void unload();
    bool unloaded() const { return unloaded_; }

    // Names of the office and browser programs left open, each followed by U+3000.
    std::string sGtOfcOpn() const;

    // BrowserHost
    MenuArray& mnDir() override { return mnDir_; }
    MenuArray& mnNew() override { return mnNew_; }
    MenuArray& mnVwF() override { return mnVwF_; }
    int widthTwips() const override;
    void setWidthTwips(int twips) override;
    bool minimized() const override { return view_.minimized(); }
    double twipsPerPixelX() const override { return view_.twipsPerPixelX(); }
    double twipsPerPixelY() const override { return view_.twipsPerPixelY(); }

    bool bNoArr = true;
    bool bInTray = false;
    PixelRect rcWrk;
    DocumentOptions options; // iTypF, iTypD, bRed, sMnFm

private:
    void placeAtLeftEdge();

    Usr& usr_;
    MainWindowView& view_;
    UiLoop& loop_;
    uFile& browser_;
    MenuArray mnDir_{0, "?", false};
    MenuArray mnNew_{0, "-", false};
    MenuArray mnVwF_{0, "ﾂﾘｰ表示", true};
    bool loaded_ = false;
    bool unloaded_ = false;
};
