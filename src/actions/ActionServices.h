#pragma once

#include <functional>

class Clipboard;
class ShellServices;
class PopupMenuView;

// What the browser's actions need of the rest of the program. Missing parts (null or
// empty) make the actions that need them do nothing.
struct ActionServices {
    ShellServices* shell = nullptr; // folder chooser, system folders, send-to starts
    Clipboard* clipboard = nullptr;
    PopupMenuView* popup = nullptr;
    std::function<void()> findFiles;
    // Whether the window of a started send-to target is placed beside the main window.
    std::function<bool()> placeStarted;
};
