#pragma once

#include "settings/yIni.h"

#include <string>
#include <string_view>

class MessageBox;
class MainWindowView;
class TrayIcon;
class UiLoop;
class fmTree;

// The start-up module: program name, the one settings store, start and end of the run,
// and the small services other parts call (foreground, tray icon).
class Usr {
  public:
    Usr(MessageBox& messages, UiLoop& loop, TrayIcon& tray);

    // The executable's name without a final "_dv" (any case).
    static std::string programName(std::string_view executableName);

    // Start-up: program name, user data folder, settings file, then the main window is
    // loaded and shown. `programFolder` is where "UserData.ini" is looked for. A settings
    // file that is there but cannot be read is reported once and left alone.
    void Main(std::string_view executableName, std::string_view programFolder, fmTree& main);
    // Whether the end may show a notice: not when the desktop session ends it.
    enum class Notices { Shown, None };
    // Writes the settings file (telling the user when they could not all be written, with
    // Notices::Shown), unloads every window, deletes the tray icon when it was added and
    // leaves the event loop. Each step runs whatever the one before did.
    void EndApp(bool inTray, MainWindowView& window, Notices notices = Notices::Shown);
    void FgMain(MainWindowView& window);
    void TrayAdd(std::string_view tip);
    void TrayDel();
    bool trayAvailable() const;

    yIni& ini() { return ini_; }
    MessageBox& messages() { return messages_; }
    const std::string& sExeNm() const { return sExeNm_; }

  private:
    void saveSettings(Notices notices);

    MessageBox& messages_;
    UiLoop& loop_;
    TrayIcon& tray_;
    std::string sExeNm_;
    yIni ini_;
};
