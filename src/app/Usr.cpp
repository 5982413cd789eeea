#include "app/Usr.h"

#include "app/ShutdownStep.h"
#include "app/fmTree.h"
#include "opening/Fld.h"
#include "platform/MainWindowView.h"
#include "platform/MessageBox.h"
#include "platform/TextCase.h"
#include "platform/TrayIcon.h"
#include "platform/UiLoop.h"

Usr::Usr(MessageBox& messages, UiLoop& loop, TrayIcon& tray)
    : messages_(messages), loop_(loop), tray_(tray), ini_(messages) {}

std::string Usr::programName(std::string_view executableName) {
    std::string name(executableName);
    if (name.size() >= 3 && TextCase::lower(name.substr(name.size() - 3)) == "_dv")
        name.resize(name.size() - 3);
    return name;
}

void Usr::Main(std::string_view executableName, std::string_view programFolder, fmTree& main) {
    sExeNm_ = programName(executableName);
    // The context-menu form would be loaded here; the file-system service needs no start.
    Fld::ChkWsh();
    ini_.W_UserData(0, sExeNm_, programFolder);
    if (!ini_.GetTxt(ini_.userData() + "User.xml") && !ini_.readFailure().empty())
        messages_.inform("ﾕｰｻﾞｰ環境ﾌｧｲﾙ(" + ini_.filePath() + ") が読み込めません\r" +
                         ini_.readFailure() +
                         "\r既定の設定で起動します。このﾌｧｲﾙには書き込みません");
    main.show();
}

void Usr::EndApp(bool inTray, MainWindowView& window, Notices notices) {
    shutdownStep([&] { saveSettings(notices); });
    shutdownStep([&] { window.closeAll(); });
    if (inTray)
        shutdownStep([&] { TrayDel(); });
}

void Usr::saveSettings(Notices notices) {
    ini_.SetTxt();
    if (notices == Notices::Shown && !ini_.writeFailure().empty())
        messages_.inform("ﾕｰｻﾞｰ環境ﾌｧｲﾙ(" + ini_.filePath() + ") に設定を保存できません\r" +
                         ini_.writeFailure());
}

void Usr::FgMain(MainWindowView& window) {
    window.bringToFront();
    loop_.processEvents();
}

void Usr::TrayAdd(std::string_view tip) {
    tray_.add(tip);
}

void Usr::TrayDel() {
    tray_.remove();
}

bool Usr::trayAvailable() const {
    return tray_.available();
}
