#pragma once

#include "platform/text/AnsiCodec.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"
#include "support/X11Probe.h"

#include <chrono>
#include <optional>
#include <string>
#include <thread>
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

    // The main window once it is shown: the "Tavrin" window taller than `minHeight` (Qt
    // keeps small windows of the same title), at most 30 s.
    static std::optional<X11Probe::Window> mainWindow(const std::string& display, int minHeight) {
        X11Probe probe(display);
        for (int i = 0; i < 300; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(100)))
            for (const X11Probe::Window& w : probe.windows())
                if (w.title == "Tavrin" && w.height > minHeight)
                    return w;
        return std::nullopt;
    }

    // Opens the 表示 menu of the main window by its key and closes it again: the time in ms
    // until its popup is on the screen, at most 20 s. The first menu of a fresh home waits
    // for the font caches: measure the second.
    static long viewMenuLatencyMs(const std::string& display, const X11Probe::Window& window) {
        using Clock = std::chrono::steady_clock;
        X11Probe probe(display);
        const int before = probe.shownPopups();
        const auto asked = Clock::now();
        const auto taken = [&] {
            return static_cast<long>(
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - asked)
                    .count());
        };
        ChildProcess key({"/usr/bin/xdotool", "windowfocus", "--sync", std::to_string(window.id),
                          "key", "alt+d"},
                         {"DISPLAY=" + display});
        while (probe.shownPopups() <= before && taken() < 20000)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        const long ms = taken();
        // The first Escape closes the menu, the second leaves the menu bar.
        X11Probe::xdotool(display, {"key", "Escape"});
        X11Probe::xdotool(display, {"key", "Escape"});
        return ms;
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
