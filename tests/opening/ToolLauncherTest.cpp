#include "opening/ToolLauncher.h"

#include "opening/HandOverRecord.h"
#include "platform/desktop/ProgramSettings.h"
#include "platform/process/DetachedProgramStarter.h"
#include "support/EnvVar.h"
#include "support/ScriptedFileOpenDialog.h"
#include "support/TempDir.h"

#include <chrono>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

class RecordingStarter : public ProgramStarter {
  public:
    bool start(const std::vector<std::string>& argv) override {
        starts.push_back(argv);
        return true;
    }
    std::vector<std::vector<std::string>> starts;
};

// A program that writes each of its arguments, every one followed by NUL, and then a copy
// of the file its first argument names, to "<its own path>.out".
std::string recorder(const TempDir& dir, const std::string& relative) {
    const std::string path =
        dir.write(relative, "#!/bin/sh\n"
                            "out=\"$0.out\"\n"
                            "{ for a in \"$@\"; do printf '%s\\0' \"$a\"; done\n"
                            "  cat \"$1\"\n"
                            "} > \"$out.part\" && mv \"$out.part\" \"$out\"\n");
    chmod(path.c_str(), 0755);
    return path;
}

std::string waitForOutput(const std::string& program) {
    const std::string out = program + ".out";
    for (int i = 0; i < 500 && access(out.c_str(), F_OK) != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return TempDir::read(out);
}

std::string le32(std::int32_t v) {
    std::string s;
    for (int i = 0; i < 4; ++i)
        s += static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
    return s;
}

std::string le16(std::uint16_t v) {
    return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}

std::string stored(std::string_view tool) {
    return ProgramSettings::get("QuorvaleTools", "Path", tool);
}

// The program installed in <tmp>/suite/Tavrin, the user data folder with blanks in it.
struct LauncherFixture : ::testing::Test {
    LauncherFixture()
        : config("XDG_CONFIG_HOME", dir / "cfg"), programFolder(dir.mkdir("suite/Tavrin")),
          userData(dir.mkdir("user data/デ ータ") + "/") {}

    ToolLauncher launcher() { return ToolLauncher(dialog, starter, programFolder, userData); }

    TempDir dir;
    EnvVar config;
    std::string programFolder;
    std::string userData;
    ScriptedFileOpenDialog dialog;
    RecordingStarter starter;
};

TEST_F(LauncherFixture, FindsAToolBesideTheProgramInAnyLetterCaseWithoutAskingAndStoresIt) {
    dir.write("suite/aRVENIC/readme.txt", "");
    const std::string exe = dir.write("suite/aRVENIC/arvenic.EXE", "");
    ToolLauncher tools = launcher();
    ASSERT_TRUE(tools.checkToolPath(0));
    EXPECT_TRUE(dialog.calls.empty());
    EXPECT_EQ(tools.toolPath(0), exe);
    EXPECT_EQ(stored("Arvenic"), exe);
}

TEST_F(LauncherFixture, SearchesTheFoldersAroundTheProgramsFolder) {
    std::string parent;
    EXPECT_EQ(ToolLauncher::findToolPath(programFolder, "Belsor", "Belsor.exe", parent), "");
    EXPECT_EQ(parent, dir / "suite");

    dir.mkdir("other/DALMEC");
    EXPECT_EQ(ToolLauncher::findToolPath(programFolder + "/", "Dalmec", "Dalmec.exe", parent),
              dir / "other/DALMEC/Dalmec.exe");
    dir.mkdir("Dalmec");
    EXPECT_EQ(ToolLauncher::findToolPath(programFolder, "Dalmec", "Dalmec.exe", parent),
              dir / "Dalmec/Dalmec.exe");
    dir.mkdir("suite/dalmec");
    EXPECT_EQ(ToolLauncher::findToolPath(programFolder, "Dalmec", "Dalmec.exe", parent),
              dir / "suite/dalmec/Dalmec.exe");
}

TEST_F(LauncherFixture, AcceptsAnExecutableWithoutExtensionButNotAPlainFileOfThatName) {
    dir.write("Emvol/Emvol", "not a program");
    ToolLauncher tools = launcher();
    EXPECT_FALSE(tools.checkToolPath(3));
    ASSERT_EQ(dialog.calls.size(), 1u);

    const std::string exe = dir.write("Emvol/Emvol", "#!/bin/sh\n");
    chmod(exe.c_str(), 0755);
    EXPECT_TRUE(tools.checkToolPath(3));
    EXPECT_EQ(tools.toolPath(3), exe);
    EXPECT_EQ(dialog.calls.size(), 1u);
}

TEST_F(LauncherFixture, LoadsValidStoredPathsDropsOthersAndWritesTheValidOnesBack) {
    const std::string belsor = dir.write("tools/BELSOR.exe", "");
    const std::string gone = dir / "tools/Dalmec.exe";
    ProgramSettings::set("QuorvaleTools", "Path", "Arvenic", dir.write("tools/Other.exe", ""));
    ProgramSettings::set("QuorvaleTools", "Path", "Belsor", belsor);
    ProgramSettings::set("QuorvaleTools", "Path", "Dalmec", gone);
    ToolLauncher tools = launcher();
    EXPECT_EQ(tools.toolPath(0), "");
    EXPECT_EQ(tools.toolPath(1), belsor);
    EXPECT_EQ(tools.toolPath(2), "");
    EXPECT_EQ(tools.toolPath(3), "");
    EXPECT_EQ(stored("Dalmec"), gone); // entries are never deleted
    EXPECT_TRUE(tools.checkToolPath(1));
    EXPECT_TRUE(dialog.calls.empty());
}

TEST_F(LauncherFixture, AsksForTheExecutableWhenNoneIsFoundAndTakesOnlyOneNamedAsTheTool) {
    const std::string other = dir.write("elsewhere/Other.exe", "");
    const std::string right = dir.write("elsewhere/arvenic.exe", "");
    dialog.answers = {other, dir / "elsewhere/gone/Arvenic.exe"};
    ToolLauncher tools = launcher();
    EXPECT_FALSE(tools.startTool(0, 1, 2, 3, 4, "/", "/"));
    EXPECT_FALSE(tools.startTool(0, 1, 2, 3, 4, "/", "/"));
    EXPECT_FALSE(tools.startTool(0, 1, 2, 3, 4, "/", "/")); // cancelled
    EXPECT_TRUE(starter.starts.empty());
    EXPECT_FALSE(access(tools.handOverPath().c_str(), F_OK) == 0);
    ASSERT_EQ(dialog.calls.size(), 3u);
    EXPECT_EQ(dialog.calls[0].title, "Arvenic 実行ﾌｧｲﾙの指定");
    EXPECT_EQ(dialog.calls[0].fileName, "Arvenic.exe");
    EXPECT_EQ(dialog.calls[0].filter, "実行ﾌｧｲﾙ(*.exe)|*.exe|Arvenic|Arvenic");
    EXPECT_EQ(dialog.calls[0].initialFolder, dir / "suite");
    EXPECT_EQ(stored("Arvenic"), "");

    dialog.answers = {right};
    EXPECT_TRUE(tools.startTool(0, 1, 2, 3, 4, "/", "/"));
    EXPECT_EQ(stored("Arvenic"), right);
    EXPECT_EQ(tools.toolPath(0), right);
    ASSERT_EQ(starter.starts.size(), 1u);
    EXPECT_EQ(starter.starts[0], (std::vector<std::string>{right, userData + "TV_ACT.pdat"}));
}

TEST(HandOverRecordTest, EmptyTextsGiveTwentyBytes) {
    EXPECT_EQ(HandOverRecord::bytes(-1, 0x01020304, 0, 40000, "", ""),
              le32(-1) + le32(0x01020304) + le32(0) + le32(40000) + le16(0) + le16(0));
}

TEST(HandOverRecordTest, TextsAreCp932WithTheirByteLengths) {
    const std::string root = "/home/ユーザー/ﾃﾞｰﾀ";
    const std::string path = "/home/ユーザー/ﾃﾞｰﾀ/表 a.txt";
    const std::string rootAnsi = "/home/\x83\x86\x81[\x83U\x81[/\xC3\xDE\xB0\xC0";
    const std::string pathAnsi = rootAnsi + "/\x95\x5C a.txt";
    EXPECT_EQ(HandOverRecord::bytes(1, 2, 3, 4, root, path), le32(1) + le32(2) + le32(3) + le32(4) +
                                                                 le16(rootAnsi.size()) + rootAnsi +
                                                                 le16(pathAnsi.size()) + pathAnsi);
}

TEST(HandOverRecordTest, TextsThatCannotReachTheToolWholeAreLeftEmpty) {
    const std::string tail = le16(0) + le16(3) + "/ok";
    EXPECT_EQ(HandOverRecord::bytes(0, 0, 0, 0, "/emoji 😀", "/ok").substr(16), tail);
    EXPECT_EQ(HandOverRecord::bytes(0, 0, 0, 0, "/wave 〜", "/ok").substr(16), tail);
    EXPECT_EQ(HandOverRecord::bytes(0, 0, 0, 0, "/latin \xe9\x41", "/ok").substr(16), tail);
    EXPECT_EQ(HandOverRecord::bytes(0, 0, 0, 0, std::string(65536, 'a'), "/ok").substr(16), tail);
    const std::string longest(65535, 'a');
    EXPECT_EQ(HandOverRecord::bytes(0, 0, 0, 0, longest, "").size(), 20u + 65535u);
}

TEST_F(LauncherFixture, AShorterRecordReplacesALongerOneWholly) {
    const std::string exe = dir.write("suite/Belsor/Belsor.exe", "");
    ToolLauncher tools = launcher();
    ASSERT_TRUE(tools.startTool(1, 10, 20, 30, 40, "/a/long/root/folder", "/a/long/root/folder/x"));
    ASSERT_TRUE(tools.startTool(1, 10, 20, 30, 40, "/", ""));
    EXPECT_EQ(TempDir::read(userData + "TV_ACT.pdat"),
              HandOverRecord::bytes(10, 20, 30, 40, "/", ""));
    EXPECT_EQ(TempDir::read(userData + "TV_ACT.pdat").size(), 21u);
}

TEST_F(LauncherFixture, TheToolGetsTheHandOverPathWithBlanksAsItsOneArgument) {
    const std::string exe = recorder(dir, "suite/Dalmec/Dalmec");
    DetachedProgramStarter realStarter;
    ToolLauncher tools(dialog, realStarter, programFolder, userData);
    ASSERT_TRUE(tools.startTool(2, 2730, 0, 12000, 15000, "/home/テスト", "/home/テスト/a b.txt"));
    const std::string handOver = userData + "TV_ACT.pdat";
    EXPECT_EQ(waitForOutput(exe), handOver + '\0' +
                                      HandOverRecord::bytes(2730, 0, 12000, 15000, "/home/テスト",
                                                            "/home/テスト/a b.txt"));
}

} // namespace
