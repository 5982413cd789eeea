#pragma once

#include "platform/text/AnsiCodec.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"
#include "support/X11Probe.h"

#include <string>
#include <vector>

// The program started on a display of its own with a "User.xml" that sets its root (and
// whatever else of the "設定" group a test adds), its configuration, data, home and
// runtime folders inside the test's folder, and its output in "tavrin.log" there.
class TavrinOnX : public ChildProcess {
  public:
    TavrinOnX(TempDir& dir, const std::string& display, const std::string& root,
              const std::string& moreSettings = "")
        : ChildProcess(argv(dir, root, moreSettings), environment(dir, display),
                       dir / "tavrin.log"),
          dir_(dir) {}

    std::string log() const { return TempDir::read(dir_ / "tavrin.log"); }

    // A click into the list's empty space near the window's bottom, then all its rows.
    static void selectAllRows(const std::string& display, const X11Probe::Window& window) {
        X11Probe::xdotool(display, {"mousemove", "--sync", std::to_string(window.width / 2),
                                    std::to_string(window.height - 20)});
        X11Probe::xdotool(display, {"click", "1"});
        X11Probe::xdotool(display, {"key", "ctrl+a"});
    }

  private:
    static std::vector<std::string> argv(TempDir& dir, const std::string& root,
                                         const std::string& moreSettings) {
        dir.write("config/Quorvale/tavrin/User.xml",
                  AnsiCodec::encode("<?xml version='1.0' encoding='Shift-JIS' ?>\r\n<運用>\r\n"
                                    "   <設定>\r\n      <Root>" +
                                    root + "</Root>\r\n" + moreSettings + "   </設定>\r\n</運用>"));
        return {TAVRIN_EXE};
    }
    // The home holds what a desktop's session bus puts there (dbus-launch's "~/.dbus"), so
    // a test that lists its own files keeps them in a folder of their own, never in the home.
    static std::vector<std::string> environment(TempDir& dir, const std::string& display) {
        dir.mkdir("home/.dbus/session-bus");
        return {"DISPLAY=" + display,
                "XDG_CONFIG_HOME=" + (dir / "config"),
                "XDG_DATA_HOME=" + dir.mkdir("data"),
                "HOME=" + (dir / "home"),
                "QT_QPA_PLATFORM=xcb",
                "XDG_RUNTIME_DIR=" + dir.mkdir("run")};
    }

    TempDir& dir_;
};
