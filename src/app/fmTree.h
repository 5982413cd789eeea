#pragma once

#include "platform/MainWindowView.h"

#include <string>

class Usr;
class UiLoop;

// The main window's logic: load (placement at the left edge of the work area, full
// height), unload (settings stored and written, program ended) and the state other parts
// read. The browser control, menus and office instances join through the marked places.
class fmTree {
public:
    // Client area as designed, in twips.
    static constexpr int kDesignedWidthTwips = 2730;
    static constexpr int kDesignedHeightTwips = 3990;

    fmTree(Usr& usr, MainWindowView& view, UiLoop& loop);

    // Loads the window (once) and shows it.
    void show();
    void load();
    // Runs once, however often the close box, the exit menu, a signal or the end of the
    // desktop session ask for it.
    void unload();
    bool unloaded() const { return unloaded_; }

    // Names of the office and browser programs left open, each followed by U+3000.
    std::string sGtOfcOpn() const;

    bool bNoArr = true;
    bool bInTray = false;
    PixelRect rcWrk;
    short iTypF = 0;
    short iTypD = 0;
    bool bRed = false;
    std::string sMnFm;

private:
    void placeAtLeftEdge();

    Usr& usr_;
    MainWindowView& view_;
    UiLoop& loop_;
    bool loaded_ = false;
    bool unloaded_ = false;
};
