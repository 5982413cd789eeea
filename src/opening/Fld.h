#pragma once

#include <cstdint>

// Shell services of the program. The file-system service is part of the program itself
// on Linux, so ChkWsh never has anything to report.
class Fld {
public:
    // True when the file-system service is not available; never the case here.
    static bool ChkWsh() { return false; }
    // The owner window of pickers and shell calls (the main window).
    static void SetOwnWnd(std::uintptr_t window) { ownerWindow() = window; }
    static std::uintptr_t OwnWnd() { return ownerWindow(); }

private:
    static std::uintptr_t& ownerWindow() {
        static std::uintptr_t window = 0;
        return window;
    }
};
