#include "app/Application.h"
#include "app/FakeMainWindow.h"
#include "app/FakeTrayIcon.h"
#include "app/FolderBrowser.h"
#include "app/MainWindow.h"
#include "opening/ShellServices.h"
#include "platform/fs/FileSystem.h"
#include "platform/text/AnsiCodec.h"
#include "support/EnvVar.h"
#include "support/FakeIconTheme.h"
#include "support/ManualTimer.h"
#include "support/NullUiLoop.h"
#include "support/RecordingOpener.h"
#include "support/ScriptedFolderPicker.h"
#include "support/ScriptedMessageBox.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

TEST(ProgramName, DropsAFinalDvInAnyCase) {
    EXPECT_EQ(Application::programName("tool_DV"), "tool");
    EXPECT_EQ(Application::programName("tool_dv"), "tool");
    EXPECT_EQ(Application::programName("tool_dvx"), "tool_dvx");
    EXPECT_EQ(Application::programName("dv"), "dv");
    EXPECT_EQ(Application::programName("_dv"), "");
}

class StartAndEnd : public ::testing::Test {
  protected:
    void start() {
        dir.write("prog/UserData.ini", "%usr%");
        application.start("tavrin_dv", dir / "prog", mainWindow);
    }
    std::string userXml() const { return dir / "cfg/Quorvale/tavrin/User.xml"; }

    TempDir dir;
    EnvVar config{"XDG_CONFIG_HOME", dir / "cfg"};
    ScriptedMessageBox messages;
    NullUiLoop loop;
    FakeTrayIcon tray;
    FakeMainWindow window;
    EnvVar home{"HOME", dir.mkdir("home")};
    FakeIconTheme icons;
    ManualTimer timer;
    ScriptedFolderPicker folderPicker;
    RecordingOpener opener;
    FolderBrowser browser{messages, loop, icons, timer, folderPicker, opener};
    Application application{messages, loop, tray};
    MainWindow mainWindow{application, window, loop, browser};
};

TEST_F(StartAndEnd, StartPlacesTheWindowAtTheLeftEdgeAtFullHeight) {
    start();
    EXPECT_EQ(browser.root(), dir / "home") << "first start: the documents folder";
    EXPECT_EQ(application.name(), "tavrin");
    EXPECT_EQ(application.ini().userData(), dir / "cfg/Quorvale/tavrin/");
    EXPECT_TRUE(window.shown);
    EXPECT_EQ(window.frame, (PixelRect{0, 30, 182, 1050})) << "width kept, height of the work area";
    EXPECT_EQ(mainWindow.workAreaRect, window.work);
    EXPECT_FALSE(mainWindow.noArrange);
    EXPECT_FALSE(mainWindow.retreatedToTray);
    EXPECT_EQ(loop.waitDepth, 0) << "the hourglass is always taken away";
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(StartAndEnd, UnloadWritesTheSettingsOnceAndClosesEverything) {
    start();
    EXPECT_TRUE(TempDir::read(userXml()).empty()) << "created empty at start";
    mainWindow.unload();
    mainWindow.unload();
    const std::string text = AnsiCodec::decode(TempDir::read(userXml()));
    const std::string head =
        "<?xml version='1.0' encoding='Shift-JIS' ?>\r\n<運用>\r\n   <設定>\r\n";
    EXPECT_EQ(text.substr(0, head.size()), head);
    const std::string tail = "   </設定>\r\n</運用>";
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    EXPECT_NE(text.find("      <Root>" + (dir / "home") + "</Root>\r\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("      <Width>2730</Width>\r\n"), std::string::npos) << text;
    EXPECT_EQ(window.closed, 1);
    EXPECT_EQ(tray.removed, 0) << "a run that never used the tray does not delete an icon";
}

TEST_F(StartAndEnd, AnExitAfterTheTrayWasUsedDeletesTheIcon) {
    start();
    application.addTrayIcon("Tavrin");
    mainWindow.retreatedToTray = true;
    mainWindow.unload();
    EXPECT_EQ(tray.added, 1);
    EXPECT_EQ(tray.removed, 1);
}

TEST_F(StartAndEnd, NoOfficeProgramOpenMeansNoQuestion) {
    start();
    EXPECT_EQ(mainWindow.openViewerNames(), "");
    mainWindow.unload();
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(StartAndEnd, AnUnreadableSettingsFileIsToldOnceAndNeverWritten) {
    dir.mkdir("cfg/Quorvale/tavrin/User.xml");
    start();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], "ﾕｰｻﾞｰ環境ﾌｧｲﾙ(" + userXml() +
                                     ") が読み込めません\r通常のﾌｧｲﾙではありません\r"
                                     "既定の設定で起動します。このﾌｧｲﾙには書き込みません");
    mainWindow.unload();
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(FileSystem::folderExists(userXml()));
    EXPECT_EQ(window.closed, 1);
}

TEST_F(StartAndEnd, SettingsThatCannotBeWrittenAreToldAtTheExit) {
    start();
    ::unlink(userXml().c_str());
    dir.mkdir("cfg/Quorvale/tavrin/User.xml");
    mainWindow.unload();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0],
              "ﾕｰｻﾞｰ環境ﾌｧｲﾙ(" + userXml() + ") に設定を保存できません\r通常のﾌｧｲﾙではありません");
    EXPECT_EQ(window.closed, 1);
}

TEST_F(StartAndEnd, ATerminationDuringAStartUpNoticeStoresTheCompleteState) {
    const std::string damaged =
        AnsiCodec::encode("<?xml version='1.0' encoding='Shift-JIS' ?>\r\n<運用>\r\n"
                          "   <設定>\r\n      <Root>/x\r\n   </設定>\r\n</運用>");
    dir.write("cfg/Quorvale/tavrin/User.xml", damaged);
    bool unchangedDuringNotice = true;
    messages.whileShown = [&] {
        mainWindow.unload();
        unchangedDuringNotice = unchangedDuringNotice && TempDir::read(userXml()) == damaged;
    };
    start();
    EXPECT_TRUE(unchangedDuringNotice) << "nothing half-loaded is written";
    EXPECT_TRUE(mainWindow.unloaded()) << "the unload runs once the load is complete";
    EXPECT_FALSE(window.shown);
    EXPECT_EQ(window.closed, 1);
    const std::string text = AnsiCodec::decode(TempDir::read(userXml()));
    EXPECT_NE(text.find("      <Root>" + (dir / "home") + "</Root>\r\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("      <TrvHi>3000</TrvHi>\r\n"), std::string::npos) << text;
}

TEST_F(StartAndEnd, AFailingStepOfTheShutdownDoesNotStopTheNext) {
    start();
    window.geometryFails = true;
    EXPECT_NO_THROW(mainWindow.unload());
    EXPECT_FALSE(TempDir::read(userXml()).empty()) << "the settings are written";
    EXPECT_EQ(window.closed, 1);
    EXPECT_TRUE(mainWindow.unloaded());
}

TEST_F(StartAndEnd, ForegroundRaisesAndRunsPendingEvents) {
    start();
    const int before = loop.eventRuns;
    application.bringMainWindowForward(window);
    EXPECT_EQ(window.raised, 1);
    EXPECT_EQ(loop.eventRuns, before + 1);
}

} // namespace
