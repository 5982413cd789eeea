#include "opening/ShellServices.h"

#include "opening/PlacementSteps.h"
#include "platform/desktop/ShellLink.h"
#include "support/EnvVar.h"
#include "support/NullUiLoop.h"
#include "support/ScriptedFolderPicker.h"
#include "support/ScriptedShellOpener.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

class RecordingPlacement : public PlacementSteps {
  public:
    void placeWindow(int mode) override { modes.push_back(mode); }
    std::vector<int> modes;
};

class CountingLoop : public NullUiLoop {
  public:
    void setWaitCursor(bool on) override {
        NullUiLoop::setWaitCursor(on);
        waitShown += on ? 1 : 0;
    }
    int waitShown = 0;
};

// A user of its own: home, configuration and data folders in a temporary folder.
class ShellServicesTest : public ::testing::Test {
  protected:
    std::string sendTo() const { return dir / "data/Quorvale/SendTo"; }
    std::string script(const std::string& name) const {
        const std::string p = dir.write(name, "#!/bin/sh\nexit 0\n");
        chmod(p.c_str(), 0755);
        return p;
    }

    TempDir dir;
    EnvVar home{"HOME", dir / "home"};
    EnvVar config{"XDG_CONFIG_HOME", dir / "config"};
    EnvVar data{"XDG_DATA_HOME", dir / "data"};
    ScriptedShellOpener opener;
    ScriptedFolderPicker picker;
    CountingLoop loop;
    RecordingPlacement placement;
    ShellServices shell{opener, picker, loop, &placement};
};

} // namespace

TEST_F(ShellServicesTest, LnkTrgReadsShortcutsAndKeepsThePathOtherwise) {
    const std::string target = dir.write("書類/報告 書.txt", "x");
    const std::string link = dir / "報告.LNK";
    ASSERT_TRUE(ShellLink::save(link, target, dir / "書類"));
    EXPECT_EQ(ShellServices::shortcutTarget(link), target);
    EXPECT_EQ(ShellServices::shortcutTarget(
                  dir.write("x.Url", "[InternetShortcut]\r\nURL=https://example.org/\r\n")),
              "https://example.org/");

    const std::string garbage = dir.write("broken.lnk", "not a shortcut at all");
    EXPECT_EQ(ShellServices::shortcutTarget(garbage), garbage);
    const std::string truncated = dir.write("cut.lnk", TempDir::read(link).substr(0, 100));
    EXPECT_EQ(ShellServices::shortcutTarget(truncated), truncated);
    EXPECT_EQ(ShellServices::shortcutTarget(dir / "missing.lnk"), dir / "missing.lnk");
    const std::string noAddress = dir.write("empty.url", "[Other]\nURL=http://x/\n");
    EXPECT_EQ(ShellServices::shortcutTarget(noAddress), noAddress);
    EXPECT_EQ(ShellServices::shortcutTarget(target), target);
}

TEST_F(ShellServicesTest, OpnDocOpensTheTargetOfShortcutsInAnyLetterCase) {
    const std::string target = dir.write("a b/レポート.txt", "x");
    const std::string link = dir / "X.LNK";
    ASSERT_TRUE(ShellLink::save(link, target, dir / "a b"));
    const std::string url =
        dir.write("x.Url", "[InternetShortcut]\nURL=https://example.org/?q=1\n");

    EXPECT_TRUE(shell.openDocument(link, false));
    EXPECT_TRUE(shell.openDocument(url, false));
    EXPECT_TRUE(shell.openDocument(dir / "a b", true));
    ASSERT_EQ(opener.calls.size(), 3u);
    EXPECT_EQ(opener.calls[0].kind, "open");
    EXPECT_EQ(opener.calls[0].target, target);
    EXPECT_EQ(opener.calls[1].target, "https://example.org/?q=1");
    EXPECT_EQ(opener.calls[2].kind, "explore");
    EXPECT_EQ(opener.calls[2].target, dir / "a b");
    EXPECT_EQ(loop.waitShown, 3);
    EXPECT_EQ(loop.waitDepth, 0);

    // A broken shortcut is handed on as it is, like any other document.
    const std::string broken = dir.write("broken.lnk", "garbage");
    EXPECT_TRUE(shell.openDocument(broken, false));
    EXPECT_EQ(opener.calls.back().target, broken);
}

TEST_F(ShellServicesTest, OpnDocPlacesOnlyWithAnOwnerWindowAndAfterASuccessfulStart) {
    const std::string doc = dir.write("doc.txt", "x");
    EXPECT_TRUE(shell.openDocument(doc, false));
    EXPECT_TRUE(placement.modes.empty()) << "no owner window yet";

    shell.setOwnerWindow(0x2a00007);
    EXPECT_TRUE(shell.openDocument(doc, false));
    EXPECT_EQ(placement.modes, (std::vector<int>{0, 1}));

    placement.modes.clear();
    opener.result = false;
    EXPECT_FALSE(shell.openDocument(doc, false));
    EXPECT_EQ(placement.modes, (std::vector<int>{0}));
    EXPECT_EQ(loop.waitDepth, 0);

    ShellServices withoutPlacement(opener, picker, loop);
    opener.result = true;
    EXPECT_TRUE(withoutPlacement.openDocument(doc, false));
}

TEST_F(ShellServicesTest, SystemFolderPathFollowsTheUsersFolders) {
    dir.write("config/user-dirs.dirs", "# written by xdg-user-dirs-update\n"
                                       "XDG_DESKTOP_DIR=\"$HOME/デスク トップ\"\n"
                                       "XDG_DOCUMENTS_DIR=\"$HOME/書類\"\n"
                                       "XDG_TEMPLATES_DIR=\"" +
                                           dir.path() + "/テンプレート/\"\n");
    for (const char* folder :
         {"home/デスク トップ", "home/書類", "テンプレート", "data/Quorvale/Favorites",
          "data/Quorvale/Recent", "data/Quorvale/SendTo", "data/applications"})
        dir.mkdir(folder);
    EXPECT_EQ(shell.systemFolderPath(SystemFolder::Desktop), dir / "home/デスク トップ");
    EXPECT_EQ(shell.systemFolderPath(SystemFolder::Documents), dir / "home/書類");
    EXPECT_EQ(shell.systemFolderPath(SystemFolder::Templates), dir / "テンプレート");
    EXPECT_EQ(shell.systemFolderPath(SystemFolder::Favorites), dir / "data/Quorvale/Favorites");
    EXPECT_EQ(shell.systemFolderPath(SystemFolder::Recent), dir / "data/Quorvale/Recent");
    EXPECT_EQ(shell.systemFolderPath(SystemFolder::SendTo), sendTo());
    EXPECT_EQ(shell.systemFolderPath(SystemFolder::StartMenu), dir / "data/applications");
    EXPECT_EQ(shell.systemFolderPath(SystemFolder::CommonStartMenu), "/usr/share/applications");
    EXPECT_EQ(shell.systemFolderPath(SystemFolder::AppData), dir / "config");
    EXPECT_EQ(shell.systemFolderPath(SystemFolder::CommonAppData), "/etc/xdg");
    EXPECT_TRUE(picker.calls.empty());

    EnvVar slash("XDG_CONFIG_HOME", dir / "config/");
    EXPECT_EQ(shell.systemFolderPath(SystemFolder::AppData), dir / "config")
        << "no trailing separator";
}

TEST_F(ShellServicesTest, SystemFolderPathOpensThePickerForFoldersThatAreAbsent) {
    picker.answers = {"/mnt", ""};
    EXPECT_EQ(shell.systemFolderPath(SystemFolder::Favorites), "/mnt") << "no Favorites folder yet";
    EXPECT_EQ(shell.systemFolderPath(SystemFolder::Desktop), "")
        << "no desktop folder, picker cancelled";
    EXPECT_EQ(picker.calls.size(), 2u);
}

TEST_F(ShellServicesTest, SystemFolderPathOpensThePickerForFoldersWithoutPath) {
    shell.setOwnerWindow(77);
    picker.answers = {"/mnt"};
    EXPECT_EQ(shell.systemFolderPath(SystemFolder::Computer), "/mnt");
    ASSERT_EQ(picker.calls.size(), 1u);
    EXPECT_EQ(picker.calls[0].rootFolder, "/");
    EXPECT_EQ(picker.calls[0].initialFolder, "");
    EXPECT_EQ(picker.calls[0].title, "ﾌｫﾙﾀﾞの指定");
    EXPECT_EQ(picker.calls[0].owner, 77u);

    // The network is rooted at the mounted shares, when there are any.
    EnvVar runtime("XDG_RUNTIME_DIR", dir.path() + "/run");
    EXPECT_EQ(shell.systemFolderPath(SystemFolder::Network), "") << "cancelled";
    EXPECT_EQ(picker.calls.back().rootFolder, "");
    dir.mkdir("run/gvfs");
    shell.systemFolderPath(SystemFolder::Network);
    EXPECT_EQ(picker.calls.back().rootFolder, dir / "run/gvfs");
    for (SystemFolder folder : {SystemFolder::CommonDesktop, SystemFolder::CommonFavorites}) {
        shell.systemFolderPath(folder);
        EXPECT_EQ(picker.calls.back().rootFolder, "") << static_cast<int>(folder);
    }
    EXPECT_EQ(picker.calls.size(), 5u);
}

TEST_F(ShellServicesTest, ChoosingAFolderDropsAMissingInitialFolder) {
    const std::string existing = dir.mkdir("作成 先");
    picker.answers = {existing};
    EXPECT_EQ(shell.chooseFolder(existing, "作成先"), existing);
    EXPECT_EQ(shell.chooseFolder(dir / "gone", ""), "");
    ASSERT_EQ(picker.calls.size(), 2u);
    EXPECT_EQ(picker.calls[0].initialFolder, existing);
    EXPECT_EQ(picker.calls[0].title, "作成先");
    EXPECT_EQ(picker.calls[1].initialFolder, "");
    EXPECT_EQ(picker.calls[1].title, "ﾌｫﾙﾀﾞの指定");
}

TEST_F(ShellServicesTest, RunLnkStartsTheTargetWithEachPathAsItsOwnArgument) {
    const std::string tool = script("bin/tool one.sh");
    dir.mkdir("data/Quorvale/SendTo");
    ASSERT_TRUE(ShellLink::save(sendTo() + "/ツール.lnk", tool, dir / "bin"));
    const std::vector<std::string> paths{dir / "a b.txt", dir / "c,d.txt", dir / "e\nf.txt"};

    EXPECT_TRUE(shell.runShortcut("ツール", paths, false));
    ASSERT_EQ(opener.calls.size(), 1u);
    EXPECT_EQ(opener.calls[0].kind, "start");
    EXPECT_EQ(opener.calls[0].target, tool);
    EXPECT_EQ(opener.calls[0].arguments, paths);
    EXPECT_EQ(opener.calls[0].workingDirectory, dir / "bin");
    EXPECT_EQ(loop.waitDepth, 0);
    EXPECT_TRUE(placement.modes.empty());

    shell.setOwnerWindow(5);
    EXPECT_TRUE(shell.runShortcut("ツール", paths, true));
    EXPECT_EQ(placement.modes, (std::vector<int>{0, 1}));
    EXPECT_TRUE(shell.runShortcut("ツール", paths, false));
    EXPECT_EQ(placement.modes.size(), 2u);
}

TEST_F(ShellServicesTest, RunLnkStartsNothingButExistingFiles) {
    dir.mkdir("data/Quorvale/SendTo");
    ASSERT_TRUE(ShellLink::save(sendTo() + "/Folder.lnk", dir.mkdir("target folder"), ""));
    const std::string gone = script("gone.sh");
    ASSERT_TRUE(ShellLink::save(sendTo() + "/Gone.lnk", gone, ""));
    std::remove(gone.c_str());
    dir.write("data/Quorvale/SendTo/Broken.lnk", "garbage");
    shell.setOwnerWindow(5);

    for (const char* name : {"Folder", "Gone", "Broken", "Missing", "", "..", "../SendTo/Folder"})
        EXPECT_FALSE(shell.runShortcut(name, {dir / "x"}, true)) << name;
    EXPECT_TRUE(opener.calls.empty());
    EXPECT_TRUE(placement.modes.empty());
    EXPECT_EQ(loop.waitDepth, 0);
}

TEST_F(ShellServicesTest, RunLnkLooksTheSendToFolderUpOnce) {
    const std::string tool = script("tool.sh");
    dir.mkdir("data/Quorvale/SendTo");
    ASSERT_TRUE(ShellLink::save(sendTo() + "/Tool.lnk", tool, ""));
    EXPECT_TRUE(shell.runShortcut("Tool", {}, false));
    EnvVar elsewhere("XDG_DATA_HOME", dir / "other");
    EXPECT_TRUE(shell.runShortcut("Tool", {}, false));
    EXPECT_EQ(opener.calls.size(), 2u);
}
