#include "platform/desktop/ProgramSettings.h"
#include "platform/desktop/SystemFolders.h"
#include "platform/desktop/XdgDirs.h"
#include "support/EnvVar.h"
#include "support/TempDir.h"
#include "support/Unprivileged.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(ProgramSettings, StoresByApplicationSectionAndKeyAndKeepsOtherEntries) {
    TempDir dir;
    EnvVar config("XDG_CONFIG_HOME", dir / "cfg");
    dir.write("cfg/QuorvaleTools/settings.ini", "[Other]\nx=1\n[Path]\nsibling=/opt/s\n");
    EXPECT_TRUE(ProgramSettings::set("QuorvaleTools", "Path", "tavrin", "/usr/bin/tavrin"));
    EXPECT_TRUE(ProgramSettings::set("QuorvaleTools", "New", "k", "v"));
    EXPECT_EQ(ProgramSettings::get("QuorvaleTools", "Path", "tavrin"), "/usr/bin/tavrin");
    EXPECT_EQ(ProgramSettings::get("QuorvaleTools", "Path", "sibling"), "/opt/s");
    EXPECT_EQ(ProgramSettings::get("QuorvaleTools", "Other", "x"), "1");
    EXPECT_EQ(ProgramSettings::get("QuorvaleTools", "Other", "tavrin"), "");
    EXPECT_EQ(ProgramSettings::get("Missing", "Path", "x"), "");
    EXPECT_EQ(TempDir::read(dir / "cfg/QuorvaleTools/settings.ini"),
              "[Other]\nx=1\n[Path]\ntavrin=/usr/bin/tavrin\nsibling=/opt/s\n[New]\nk=v\n");
}

TEST(ProgramSettings, AnyPathTravelsWhole) {
    TempDir dir;
    EnvVar config("XDG_CONFIG_HOME", dir / "cfg");
    const std::string path = "/a b/c=d\\e\nf\r\xff";
    ASSERT_TRUE(ProgramSettings::set("App", "S", "we=ird\nkey", path));
    ASSERT_TRUE(ProgramSettings::set("App", "S", "after", "1"));
    EXPECT_EQ(ProgramSettings::get("App", "S", "we=ird\nkey"), path);
    EXPECT_EQ(ProgramSettings::get("App", "S", "after"), "1");
}

// The file is shared with the sibling tools: one that cannot be read must not be written
// over with this program's entry alone, and a pipe in its place must not block.
TEST(ProgramSettings, AFileThatCannotBeReadIsLeftAlone) {
    TempDir dir;
    EnvVar config("XDG_CONFIG_HOME", dir / "cfg");
    dir.mkdir("cfg/Pipe");
    ASSERT_EQ(::mkfifo((dir / "cfg/Pipe/settings.ini").c_str(), 0600), 0);
    dir.mkdir("cfg/Folder/settings.ini");
    alarm(20); // a blocking open of the pipe would wait for ever
    for (const char* app : {"Pipe", "Folder"}) {
        EXPECT_EQ(ProgramSettings::get(app, "Path", "x"), "");
        EXPECT_FALSE(ProgramSettings::set(app, "Path", "x", "/y")) << app;
    }
    alarm(0);
    struct stat st {};
    EXPECT_TRUE(::stat((dir / "cfg/Pipe/settings.ini").c_str(), &st) == 0 && S_ISFIFO(st.st_mode));

    const std::string locked = dir.write("cfg/Locked/settings.ini", "[Path]\nsibling=/opt/s\n");
    ::chmod(locked.c_str(), 0200);
    EXPECT_TRUE(asUnprivileged(dir.path(), [] {
        return !ProgramSettings::set("Locked", "Path", "tavrin", "/usr/bin/tavrin");
    }));
    EXPECT_EQ(TempDir::read(locked), "[Path]\nsibling=/opt/s\n");
}

TEST(SystemFolders, FollowTheXdgDirectories) {
    TempDir dir;
    EnvVar home("HOME", dir / "home");
    EnvVar config("XDG_CONFIG_HOME", dir / "cfg");
    EnvVar data("XDG_DATA_HOME", dir / "data");
    dir.write("cfg/user-dirs.dirs", "# comment\nXDG_DESKTOP_DIR=\"$HOME/デスクトップ\"\n"
                                    "XDG_DOCUMENTS_DIR=\"/srv/docs\"\n");
    EXPECT_EQ(SystemFolders::path(0), dir / "home/デスクトップ");
    EXPECT_EQ(SystemFolders::path(5), "/srv/docs");
    EXPECT_EQ(SystemFolders::path(21), dir / "home") << "no templates entry: the home folder";
    EXPECT_EQ(SystemFolders::path(9), dir / "data/Quorvale/SendTo");
    EXPECT_EQ(SystemFolders::path(26), dir / "cfg");
    EXPECT_EQ(SystemFolders::path(22), "/usr/share/applications");
    for (int virtualFolder : {17, 18, 25, 31})
        EXPECT_EQ(SystemFolders::path(virtualFolder), "");
}

} // namespace
