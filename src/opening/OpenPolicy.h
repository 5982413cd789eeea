#pragma once

#include "platform/MainWindowView.h"
#include "platform/WindowList.h"

#include <functional>
#include <string>

class Fld;
class WindowPlacement;
struct DocumentOptions;

// The main window as the open policy needs it.
class PolicyHost {
  public:
    virtual ~PolicyHost() = default;
    virtual const DocumentOptions& documentOptions() const = 0;
    virtual void minimizeMain() = 0;
    virtual int mainWidthTwips() const = 0;
    virtual double mainTwipsPerPixelX() const = 0;
    virtual PixelRect workArea() const = 0;
};

// How a path chosen in the browser or a recent-files menu is opened. Everything goes to
// the desktop's default application (or is started, for a program); extensions in the
// minimise list ("EXE" by default) minimise the main window first. Every opened path is
// recorded in the recent lists.
class OpenPolicy {
  public:
    using Record = std::function<void(const std::string& path)>;

    OpenPolicy(PolicyHost& host, Fld& shell, WindowPlacement* placement, Record record);

    // `path`: one path, or several joined by ","; `plainOpen` skips the document rules,
    // `explore` shows folders in the file manager.
    void OpnByPlc(std::string& path, bool plainOpen, bool explore);
    // The part of the work area right of the main window, in pixels.
    ScreenRect rectangle() const;
    // Arms the placement of started programs' windows in that rectangle.
    void SetPlcRct();
    // After the main window changed its width: the placed window follows.
    void PlcDocWnd();

  private:
    PolicyHost& host_;
    Fld& shell_;
    WindowPlacement* placement_;
    Record record_;
};
