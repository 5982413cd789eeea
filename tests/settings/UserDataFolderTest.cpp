#include "platform/text/AnsiCodec.h"
#include "platform/fs/FileSystem.h"
#include "platform/desktop/ProgramSettings.h"
#include "settings/SettingsStore.h"
#include "support/EnvVar.h"
#include "support/ScriptedMessageBox.h"
#include "support/TempDir.h"

#include <cctype>
#include <gtest/gtest.h>

namespace {

std::string TextCaseUpper(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

class UserDataFolderTest : public ::testing::Test {
  protected:
    std::string resolve() {
        ini.resolveUserDataFolder(0, "tavrin", program);
        return ini.userData();
    }
    std::string defaultFolder() const { return dir / "config/Quorvale/tavrin/"; }
    std::string notFoundTail() const {
        return " が見つかりません\rﾕｰｻﾞｰﾃﾞｰﾀｰﾌｫﾙﾀﾞは　" + defaultFolder() + " を使用します";
    }

    TempDir dir;
    EnvVar config{"XDG_CONFIG_HOME", dir / "config"};
    EnvVar home{"HOME", dir / "home"};
    std::string program = dir.mkdir("prog");
    ScriptedMessageBox messages;
    SettingsStore ini{messages};
};

TEST_F(UserDataFolderTest, DefaultKeywordSelectsAndCreatesTheDefaultFolderSilently) {
    dir.write("prog/UserData.ini", "%applicaion data%");
    EXPECT_EQ(resolve(), defaultFolder());
    EXPECT_TRUE(FileSystem::folderExists(defaultFolder()));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(UserDataFolderTest, KeywordsInAnyCase) {
    dir.write("prog/UserData.ini", "%APP%");
    EXPECT_EQ(resolve(), program + "/usData/");
    EXPECT_TRUE(FileSystem::folderExists(program + "/usData"));

    dir.write("prog/UserData.ini", "%Usr%");
    EXPECT_EQ(resolve(), defaultFolder());

    dir.write("prog/UserData.ini", "%My Document%");
    EXPECT_EQ(resolve(), dir / "home/Quorvale/tavrin/");
    dir.write("prog/UserData.ini", "%doc");
    EXPECT_EQ(resolve(), dir / "home/Quorvale/tavrin/");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(UserDataFolderTest, DocumentsFolderComesFromUserDirs) {
    dir.write("config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/文書\"\n");
    dir.write("prog/UserData.ini", "%doc");
    EXPECT_EQ(resolve(), dir / "home/文書/Quorvale/tavrin/");
}

TEST_F(UserDataFolderTest, KeywordFollowedByALineBreakFallsBackWithoutNotice) {
    dir.write("prog/UserData.ini", "%app%\r\n");
    EXPECT_EQ(resolve(), defaultFolder());
    EXPECT_TRUE(messages.shown.empty());
    dir.write("prog/UserData.ini", "%unknown%");
    EXPECT_EQ(resolve(), defaultFolder());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(UserDataFolderTest, MissingIniShowsNoticeOne) {
    EXPECT_EQ(resolve(), defaultFolder());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], program + "/UserData.ini" + notFoundTail());
}

TEST_F(UserDataFolderTest, EmptyIniOrEmptyFirstLineShowsNoticeTwo) {
    const std::string notice =
        " ﾕｰｻﾞｰﾃﾞｰﾀｰﾌｫﾙﾀﾞが定義されていません\r" + defaultFolder() + " を使用します";
    dir.write("prog/UserData.ini", "");
    EXPECT_EQ(resolve(), defaultFolder());
    dir.write("prog/UserData.ini", "\n%app%");
    EXPECT_EQ(resolve(), defaultFolder());
    EXPECT_EQ(messages.shown, (std::vector<std::string>{notice, notice}));
}

TEST_F(UserDataFolderTest, ExistingFolderIsUsedAsWrittenWithASlash) {
    const std::string data = dir.mkdir("My Data");
    dir.write("prog/UserData.ini", data);
    EXPECT_EQ(resolve(), data + "/");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(UserDataFolderTest, Cp932IniIsRead) {
    const std::string data = dir.mkdir("データ");
    dir.write("prog/UserData.ini", AnsiCodec::encode(data));
    EXPECT_EQ(resolve(), data + "/");
}

TEST_F(UserDataFolderTest, MissingFolderShowsNoticeThree) {
    dir.write("prog/UserData.ini", dir / "Nowhere");
    EXPECT_EQ(resolve(), defaultFolder());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], "ﾌｫﾙﾀﾞ " + (dir / "Nowhere") + notFoundTail());
}

TEST_F(UserDataFolderTest, ExecutablePathIsPublishedAndRewrittenOnlyWhenItDiffers) {
    dir.write("prog/UserData.ini", "%usr%");
    resolve();
    EXPECT_EQ(ProgramSettings::get("QuorvaleTools", "Path", "tavrin"), program + "/tavrin");
    const std::string file = ProgramSettings::fileOf("QuorvaleTools");
    EXPECT_EQ(file, dir / "config/QuorvaleTools/settings.ini");

    ProgramSettings::set("QuorvaleTools", "Path", "tavrin", TextCaseUpper(program + "/tavrin"));
    resolve();
    EXPECT_EQ(ProgramSettings::get("QuorvaleTools", "Path", "tavrin"),
              TextCaseUpper(program + "/tavrin"))
        << "a difference in letter case only is not rewritten";

    ProgramSettings::set("QuorvaleTools", "Path", "tavrin", "/old/place/tavrin");
    resolve();
    EXPECT_EQ(ProgramSettings::get("QuorvaleTools", "Path", "tavrin"), program + "/tavrin");
}

TEST(CreateFolder, MakesEveryMissingLevelAndSkipsExistingOnes) {
    TempDir dir;
    dir.mkdir("a");
    SettingsStore::createFolder(dir / "a/b/c");
    EXPECT_TRUE(FileSystem::folderExists(dir / "a/b/c"));
    SettingsStore::createFolder(dir / "x/y/");
    EXPECT_TRUE(FileSystem::folderExists(dir / "x/y"));
    SettingsStore::createFolder(dir / "a/b/c"); // exists: nothing happens
}

} // namespace
