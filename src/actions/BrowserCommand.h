#pragma once

#include <string>

// What the user asked the browser to do with a pane's selection: an item of the context
// menu or its extended submenu, or the key that stands for one.
enum class BrowserCommand {
    Explore,
    Open,
    Find,
    Cut,
    Copy,
    Paste,
    MakeShortcut,
    Delete,
    Rename,
    NewFolder,
    SendTo,
    CopyTo,
    MoveTo,
    MakeShortcutIn,
    MakeShortcutAndCut,
    CopyPathNames,
    CopyListAsText,
    Undo,
};

// A chosen command with the name of the send-to shortcut, for SendTo.
struct ChosenCommand {
    BrowserCommand command;
    std::string sendToLink;
};
