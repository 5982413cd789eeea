#pragma once

#include "settings/SettingsStore.h"

#include <string>
#include <string_view>

class MessageBox;
class MainWindowView;
class TrayIcon;
class UiLoop;
class MainWindow;

// The start-up module: program name, the one settings store, start and end of the run,
// and the small services other parts call (foreground, tray icon).
class Application {
  public:
    Application(MessageBox& messages, UiLoop& loop, TrayIcon& tray);

    // The executable's name without a final "_dv" (any case).
    static std::string programName(std::string_view executableName);

    // Start-up: program name, user data folder, settings file, then the main window is
    // loaded and shown. `programFolder` is where "UserData.ini" is looked for. A settings
    // file that is there but cannot be read is reported once and left alone.
    void start(std::string_view executableName, std::string_view programFolder, MainWindow& main);
    // Whether the end may show a notice: not when the desktop session ends it.
    enum class Notices { Shown, None };
    // Writes the settings file (telling the user when they could not all be written, with
    // Notices::Shown), unloads every window, deletes the tray icon when it was added and
    // leaves the event loop. Each step runs whatever the one before did.
    void endRun(bool inTray, MainWindowView& window, Notices notices = Notices::Shown);
    void bringMainWindowForward(MainWindowView& window);
    void addTrayIcon(std::string_view tip);
    void removeTrayIcon();
    bool trayAvailable() const;

    SettingsStore& ini() { return ini_; }
    MessageBox& messages() { return messages_; }
    const std::string& name() const { return name_; }

  private:
    void saveSettings(Notices notices);

    MessageBox& messages_;
    UiLoop& loop_;
    TrayIcon& tray_;
    std::string name_;
    SettingsStore ini_;
};
