#include "app/MainWindow.h"
#include "actions/ActionServices.h"
#include "actions/ShellHandOff.h"
#include "app/Application.h"
#include "app/FakeMainWindow.h"
#include "app/FakeTrayIcon.h"
#include "app/FolderBrowser.h"
#include "app/MenuCommands.h"
#include "opening/OpenPolicy.h"
#include "opening/ShellServices.h"
#include "platform/text/AnsiCodec.h"
#include "support/EnvVar.h"
#include "support/FakeIconTheme.h"
#include "support/ManualTimer.h"
#include "support/NullUiLoop.h"
#include "support/RecordingViewer.h"
#include "support/ScriptedFolderPicker.h"
#include "support/ScriptedMessageBox.h"
#include "support/ScriptedShellOpener.h"
#include "support/TempDir.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

class MainWindowTest : public ::testing::Test {
  protected:
    MainWindowTest() {
        dir.write("prog/UserData.ini", "%usr%");
        dir.mkdir("home/a");
        dir.mkdir("home/b");
        application.start("tavrin", dir / "prog", main);
        policy.attachHost(main);
        main.setOpenPolicy(&policy);
        ActionServices services;
        services.shell = &shell;
        browser.setActionServices(services);
    }
    // Puts the policy in place and shows a word-processor document through it.
    void showDocument(OpenPolicy& withViewers) {
        withViewers.attachHost(main);
        main.setOpenPolicy(&withViewers);
        std::string document = "/d/a.doc";
        withViewers.open(document, OpenMode::Document);
    }
    std::vector<std::string> opened() {
        std::vector<std::string> out;
        for (const auto& c : opener.calls)
            out.push_back(c.kind + " " + c.target);
        return out;
    }

    TempDir dir;
    EnvVar config{"XDG_CONFIG_HOME", dir / "cfg"};
    EnvVar home{"HOME", dir / "home"};
    ScriptedMessageBox messages;
    NullUiLoop loop;
    FakeTrayIcon tray;
    FakeMainWindow window;
    FakeIconTheme icons;
    ManualTimer timer;
    ScriptedShellOpener opener;
    ScriptedFolderPicker picker;
    ScriptedFolderPicker folderPicker;
    ShellServices shell{opener, picker, loop};
    std::vector<std::string> recorded;
    OpenPolicy policy{shell, nullptr, [this](const std::string& p) { recorded.push_back(p); }};
    FolderBrowser browser{messages, loop, icons, timer, folderPicker, policy};
    Application application{messages, loop, tray};
    MainWindow main{application, window, loop, browser};
    MenuCommands commands{main, browser, shell, policy};
};

TEST_F(MainWindowTest, MenusCarryTheirCaptionsAndSubmenus) {
    EXPECT_EQ(MainMenu::topCaption(0), "ﾌｫﾙﾀﾞ(&F)");
    EXPECT_EQ(MainMenu::topCaption(1), "開く(&O)");
    EXPECT_EQ(MainMenu::topCaption(2), "表示(&D)");
    MainMenu& menus = main.menus();
    EXPECT_EQ(menus[MenuFamily::Fold].caption(6), "終了(&X)");
    EXPECT_EQ(menus[MenuFamily::Tool].caption(3), "Emvol   (FTP転送)");
    EXPECT_EQ(menus[MenuFamily::SyE].caption(13), "ﾃﾞｽｸﾄｯﾌﾟ   All User");
    EXPECT_EQ(menus[MenuFamily::VwF].caption(0), "ﾂﾘ-表示(ﾗﾝﾁｬ-)");
    EXPECT_EQ(menus[MenuFamily::RcFd].caption(0), dir / "home") << "the root set at start";
    EXPECT_FALSE(menus[MenuFamily::Dir].visible(0));
    EXPECT_FALSE(menus[MenuFamily::New].visible(0));
    EXPECT_EQ(MainMenu::submenuOf(MenuFamily::Fold, 3),
              (std::vector<MenuFamily>{MenuFamily::Dir, MenuFamily::New}));
    EXPECT_TRUE(MainMenu::submenuOf(MenuFamily::Fold, 6).empty());
}

TEST_F(MainWindowTest, ChoosingAFolderSetsTheRootAndCancelKeepsIt) {
    picker.answers = {dir / "home/a", ""};
    commands.chosen(MenuFamily::Fold, 0);
    EXPECT_EQ(browser.root(), dir / "home/a");
    EXPECT_EQ(picker.calls[0].initialFolder, dir / "home");
    EXPECT_EQ(picker.calls[0].title, "ﾌｫﾙﾀﾞの指定");
    commands.chosen(MenuFamily::Fold, 0);
    EXPECT_EQ(browser.root(), dir / "home/a");
}

TEST_F(MainWindowTest, RecentAndRegisteredItemsBecomeTheRoot) {
    main.menus()[MenuFamily::Dir].setCaption(0, dir / "home/b");
    commands.chosen(MenuFamily::Dir, 0);
    EXPECT_EQ(browser.root(), dir / "home/b");
    main.menus()[MenuFamily::RcFd].setCaption(0, "?");
    commands.chosen(MenuFamily::RcFd, 0);
    EXPECT_EQ(browser.root(), dir / "home/b") << "the placeholder opens nothing";
}

TEST_F(MainWindowTest, ViewSwitchSetsTheChecksAndTheBrowserMode) {
    commands.chosen(MenuFamily::VwF, 0);
    EXPECT_TRUE(main.menus()[MenuFamily::VwF].checked(0));
    EXPECT_FALSE(main.menus()[MenuFamily::VwF].checked(1));
    EXPECT_FALSE(browser.showsList());
    commands.chosen(MenuFamily::VwF, 1);
    commands.chosen(MenuFamily::VwF, 1);
    EXPECT_TRUE(browser.showsList());
    EXPECT_TRUE(main.menus()[MenuFamily::VwF].checked(1));
}

TEST_F(MainWindowTest, SyncCopiesCaptionsAndHidesSurplusItems) {
    MainMenu& menus = main.menus();
    EXPECT_EQ(menus[MenuFamily::DirE].caption(0), "?");
    EXPECT_TRUE(menus[MenuFamily::DirE].visible(0));
    menus[MenuFamily::Dir].ensure(2);
    menus[MenuFamily::Dir].setCaption(0, "/x");
    menus[MenuFamily::Dir].setCaption(1, "/y");
    menus[MenuFamily::Dir].setCaption(2, "/z");
    main.syncActiveFolder();
    EXPECT_EQ(menus[MenuFamily::DirE].caption(2), "/z");
    EXPECT_TRUE(menus[MenuFamily::DirE].visible(2));
    MainMenu fresh;
    menus[MenuFamily::Dir] = fresh[MenuFamily::Dir];
    main.syncActiveFolder();
    EXPECT_EQ(menus[MenuFamily::DirE].caption(0), "?");
    EXPECT_FALSE(menus[MenuFamily::DirE].visible(1));
    EXPECT_FALSE(menus[MenuFamily::DirE].visible(2));
}

TEST_F(MainWindowTest, TheViewMenusUndoItemReachesTheBrowser) {
    EXPECT_EQ(main.menus()[MenuFamily::Dsp].caption(5), "元に戻す(&U)");
    commands.chosen(MenuFamily::Dsp, 5);
    EXPECT_EQ(messages.shown, std::vector<std::string>{"元に戻す操作はありません"});
}

class NextRunTest : public MainWindowTest {
  protected:
    // A later run in the same user data folder: whether it lists the home folder's
    // ".profile", with the 表示 menu's item checked exactly then.
    bool nextRunShowsHiddenEntries() {
        ManualTimer nextTimer;
        FakeTrayIcon nextTray;
        FakeMainWindow nextWindow;
        FolderBrowser next{messages, loop, icons, nextTimer, folderPicker, policy};
        Application nextApplication{messages, loop, nextTray};
        MainWindow nextMain{nextApplication, nextWindow, loop, next};
        nextApplication.start("tavrin", dir / "prog", nextMain);
        const ListControl& list = next.controls().listControl;
        bool listed = false;
        for (int i = 1; i <= list.count(); ++i)
            listed = listed || list.itemAt(i)->text() == ".profile";
        EXPECT_EQ(nextMain.menus()[MenuFamily::Dsp].checked(MainMenu::kHiddenEntriesItem), listed);
        return listed;
    }
};

TEST_F(NextRunTest, TheViewMenusHiddenEntriesChoiceIsCheckedAndKeptForTheNextRun) {
    const std::string choice = dir / "cfg/Quorvale/tavrin/HiddenEntries.txt";
    dir.write("home/.profile", "p");
    MenuArray& display = main.menus()[MenuFamily::Dsp];
    EXPECT_EQ(display.caption(MainMenu::kHiddenEntriesItem), "隠しファイルを表示(&H)\tCtrl+H");
    EXPECT_TRUE(display.checked(MainMenu::kHiddenEntriesItem)) << "shown by default";
    EXPECT_TRUE(nextRunShowsHiddenEntries()) << "no file: shown";
    commands.chosen(MenuFamily::Dsp, MainMenu::kHiddenEntriesItem);
    EXPECT_FALSE(display.checked(MainMenu::kHiddenEntriesItem));
    EXPECT_EQ(TempDir::read(choice), "hidden\n") << "written when chosen, before any exit";
    EXPECT_FALSE(nextRunShowsHiddenEntries());
    main.unload();
    EXPECT_EQ(AnsiCodec::decode(TempDir::read(dir / "cfg/Quorvale/tavrin/User.xml")).find("Hid"),
              std::string::npos)
        << "User.xml keeps its layout";
    EXPECT_FALSE(nextRunShowsHiddenEntries());
    for (const std::string garbled : {"", "hidden\nshown\n", "HIDDEN", "shown\n"}) {
        dir.write("cfg/Quorvale/tavrin/HiddenEntries.txt", garbled);
        EXPECT_TRUE(nextRunShowsHiddenEntries()) << garbled;
    }
    ::unlink(choice.c_str());
    dir.mkdir("cfg/Quorvale/tavrin/HiddenEntries.txt");
    EXPECT_TRUE(nextRunShowsHiddenEntries()) << "a folder in the file's place";
    commands.chosen(MenuFamily::Dsp, MainMenu::kHiddenEntriesItem);
    ASSERT_FALSE(messages.notices.empty()) << "a choice that cannot be kept says so";
    EXPECT_NE(messages.notices.back().find("HiddenEntries.txt"), std::string::npos);
}

TEST_F(MainWindowTest, TrayRetreatAddsOneIconAndAClickRestoresTheWindow) {
    window.isMinimized = true;
    commands.chosen(MenuFamily::Task, 0);
    commands.chosen(MenuFamily::Task, 0);
    EXPECT_EQ(tray.added, 1);
    EXPECT_EQ(tray.tip, "Tavrin");
    EXPECT_FALSE(window.shown);
    main.trayLeftClicked();
    EXPECT_TRUE(window.shown);
    EXPECT_FALSE(window.isMinimized);
    EXPECT_EQ(tray.removed, 0) << "the icon stays until the end";
    main.trayRightClicked();
    EXPECT_EQ(window.popups, 1);
    main.unload();
    EXPECT_EQ(tray.removed, 1);
}

TEST_F(MainWindowTest, WithoutATrayTheWindowIsMinimisedInsteadOfHidden) {
    tray.hasTray = false;
    main.showMainWindow(false);
    EXPECT_TRUE(window.shown);
    EXPECT_TRUE(window.isMinimized);
    EXPECT_EQ(tray.added, 0);
    EXPECT_FALSE(main.retreatedToTray);
}

TEST_F(MainWindowTest, OpeningGoesToTheDesktopMinimisesForListedTypesAndIsRecorded) {
    std::string program = "/opt/setup.exe";
    policy.open(program, OpenMode::Document);
    EXPECT_TRUE(window.isMinimized);
    window.isMinimized = false;
    std::string two = "/a.txt,/b.doc";
    policy.open(two, OpenMode::Document);
    EXPECT_FALSE(window.isMinimized);
    EXPECT_EQ(opened(),
              (std::vector<std::string>{"open /opt/setup.exe", "open /a.txt", "open /b.doc"}));
    EXPECT_EQ(recorded, (std::vector<std::string>{"/opt/setup.exe", "/a.txt,/b.doc"}));
    const std::string comma = dir.write("x,y.txt", "");
    std::string whole = comma;
    policy.open(whole, OpenMode::Document);
    EXPECT_EQ(opened().back(), "open " + comma) << "an existing path with a comma stays whole";
}

TEST_F(MainWindowTest, PlacementRectangleLiesRightOfTheMainWindow) {
    window.frame = {0, 0, 320, 984};
    main.workAreaRect = {0, 0, 1280, 984};
    EXPECT_EQ(policy.rectangle(), (ScreenRect{319, 0, 961, 984}));
}

TEST_F(MainWindowTest, SystemFoldersOpenInTheFileManager) {
    dir.write("cfg/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/a\"\n");
    commands.chosen(MenuFamily::SyE, 1);
    commands.chosen(MenuFamily::SyE, 4);
    commands.chosen(MenuFamily::SyE, 3);
    EXPECT_EQ(opened(), (std::vector<std::string>{"explore " + (dir / "home/a"),
                                                  "explore " + (dir / "cfg/Quorvale")}));
}

TEST_F(MainWindowTest, ShutdownOffersToCloseTheShownViewers) {
    std::vector<std::string> log;
    RecordingViewer word{"word", log};
    word.program = "LibreOffice Writer";
    OpenPolicy withViewers{shell, nullptr, nullptr, KeptViewers{&word, nullptr, nullptr}};
    showDocument(withViewers);
    messages.answers = {true};
    main.unload();
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown.back(), "LibreOffice Writer\u3000を閉じて良いですか");
    EXPECT_EQ(log.back(), "word quit");
    EXPECT_EQ(window.closed, 1);
}

TEST_F(MainWindowTest, ViewersLeftRunningByAnEarlierRunAreNamedAndClosedAlike) {
    std::vector<std::string> log;
    RecordingViewer word{"word", log};
    RecordingViewer sheet{"sheet", log};
    sheet.leftBehind = true; // never used in this run
    word.leftBehind = true;
    OpenPolicy withViewers{shell, nullptr, nullptr, KeptViewers{&word, &sheet, nullptr}};
    showDocument(withViewers);
    messages.answers = {true};
    main.unload();
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown.back(), "sheet\u3000word\u3000を閉じて良いですか");
    EXPECT_NE(std::find(log.begin(), log.end(), "sheet quit"), log.end());
}

TEST_F(MainWindowTest, TheSessionsEndAsksNothingWritesTheSettingsAndLeavesTheViewers) {
    std::vector<std::string> log;
    RecordingViewer word{"word", log};
    OpenPolicy withViewers{shell, nullptr, nullptr, KeptViewers{&word, nullptr, nullptr}};
    showDocument(withViewers);
    const std::string settings = dir / "cfg/Quorvale/tavrin/User.xml";
    ::unlink(settings.c_str());
    messages.shown.clear();
    main.unload(MainWindow::Ending::BySession);
    EXPECT_EQ(messages.shown, std::vector<std::string>{});
    EXPECT_NE(log.back(), "word quit");
    EXPECT_NE(TempDir::read(settings).find("<Width>"), std::string::npos);
    EXPECT_EQ(window.closed, 1);
}

TEST_F(MainWindowTest, ExitItemEndsTheProgramOnce) {
    commands.chosen(MenuFamily::Fold, 6);
    EXPECT_TRUE(main.unloaded());
    EXPECT_EQ(window.closed, 1);
}

} // namespace
