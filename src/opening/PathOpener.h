#pragma once

#include <string>

// How a chosen path is opened.
enum class OpenMode {
    // By the document rules: a kept viewer where the options ask for one, else the desktop.
    Document,
    // Straight to the desktop's default application, or started, for a program.
    Plain,
    // A folder shown in the file manager.
    Explore,
};

// Opens what the browser, the menus and the find window choose. Called on the window's
// thread; an open may take as long as the program or viewer it starts needs to answer.
class PathOpener {
  public:
    virtual ~PathOpener() = default;
    // `path`: one path, or several joined by ",". A shortcut to a web address opened in
    // the browser viewer is replaced in `path` by the address.
    virtual void open(std::string& path, OpenMode mode) = 0;
    // Before the desktop starts something by another way (send to, find): the window that
    // opens is placed beside the main window.
    virtual void prepareForStart() = 0;
};
