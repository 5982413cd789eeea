#include "app/Application.h"

#include "app/MainWindow.h"
#include "app/ShutdownStep.h"
#include "opening/ShellServices.h"
#include "platform/MainWindowView.h"
#include "platform/MessageBox.h"
#include "platform/TrayIcon.h"
#include "platform/UiLoop.h"
#include "platform/text/TextCase.h"

Application::Application(MessageBox& messages, UiLoop& loop, TrayIcon& tray)
    : messages_(messages), loop_(loop), tray_(tray), ini_(messages) {}

std::string Application::programName(std::string_view executableName) {
    std::string name(executableName);
    if (name.size() >= 3 && TextCase::lower(name.substr(name.size() - 3)) == "_dv")
        name.resize(name.size() - 3);
    return name;
}

void Application::start(std::string_view executableName, std::string_view programFolder,
                        MainWindow& main) {
    name_ = programName(executableName);
    // The context-menu form would be loaded here; the file-system service needs no start.
    ShellServices::fileSystemMissing();
    ini_.resolveUserDataFolder(0, name_, programFolder);
    if (!ini_.readFile(ini_.userData() + "User.xml") && !ini_.readFailure().empty())
        messages_.inform("ﾕｰｻﾞｰ環境ﾌｧｲﾙ(" + ini_.filePath() + ") が読み込めません\r" +
                         ini_.readFailure() +
                         "\r既定の設定で起動します。このﾌｧｲﾙには書き込みません");
    main.show();
}

void Application::endRun(bool inTray, MainWindowView& window, Notices notices) {
    shutdownStep([&] { saveSettings(notices); });
    shutdownStep([&] { window.closeAll(); });
    if (inTray)
        shutdownStep([&] { removeTrayIcon(); });
}

void Application::saveSettings(Notices notices) {
    ini_.writeFile();
    if (notices == Notices::Shown && !ini_.writeFailure().empty())
        messages_.inform("ﾕｰｻﾞｰ環境ﾌｧｲﾙ(" + ini_.filePath() + ") に設定を保存できません\r" +
                         ini_.writeFailure());
}

void Application::bringMainWindowForward(MainWindowView& window) {
    window.bringToFront();
    loop_.processEvents();
}

void Application::addTrayIcon(std::string_view tip) {
    tray_.add(tip);
}

void Application::removeTrayIcon() {
    tray_.remove();
}

bool Application::trayAvailable() const {
    return tray_.available();
}
