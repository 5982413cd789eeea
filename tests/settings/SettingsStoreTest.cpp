#include "settings/SettingsStore.h"
#include "platform/text/AnsiCodec.h"
#include "platform/fs/FileSystem.h"
#include "support/ScriptedMessageBox.h"
#include "support/TempDir.h"
#include "support/Unprivileged.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string kFresh = "<?xml version='1.0' encoding='Shift-JIS' ?>\r\n<運用>\r\n</運用>";

class SettingsStoreTest : public ::testing::Test {
  protected:
    std::string loadFresh() {
        const std::string path = dir / "User.xml";
        EXPECT_TRUE(ini.readFile(path));
        return path;
    }
    std::string fileText(const std::string& path) { return AnsiCodec::decode(TempDir::read(path)); }

    TempDir dir;
    ScriptedMessageBox messages;
    SettingsStore ini{messages};
};

TEST_F(SettingsStoreTest, MissingFileIsCreatedEmptyAndSavedAsTheFreshDocument) {
    const std::string path = loadFresh();
    EXPECT_EQ(TempDir::read(path), "");
    EXPECT_EQ(ini.document(), kFresh);
    ASSERT_TRUE(ini.writeFile());
    EXPECT_EQ(fileText(path), kFresh);
}

TEST_F(SettingsStoreTest, FileStartingWithALineBreakIsReplacedByTheFreshDocument) {
    const std::string path = dir.write("User.xml", "\r\n<運用>junk</運用>");
    ASSERT_TRUE(ini.readFile(path));
    EXPECT_EQ(ini.document(), kFresh);
}

TEST_F(SettingsStoreTest, LayoutIsByteExactInCp932) {
    const std::string path = loadFresh();
    ini.readGroup("設定");
    ini.setValue("Width", 2730);
    ini.setValue("Root", "/home/ユーザー");
    ini.setValue("ShwL", true);
    ASSERT_TRUE(ini.writeGroup());
    ASSERT_TRUE(ini.writeFile());
    const std::string expected = "<?xml version='1.0' encoding='Shift-JIS' ?>\r\n<運用>\r\n"
                                 "   <設定>\r\n"
                                 "      <ShwL>True</ShwL>\r\n"
                                 "      <Root>/home/ユーザー</Root>\r\n"
                                 "      <Width>2730</Width>\r\n"
                                 "   </設定>\r\n"
                                 "</運用>";
    EXPECT_EQ(TempDir::read(path), AnsiCodec::encode(expected));
    EXPECT_EQ(TempDir::read(path).substr(0, 5), "<?xml");
}

TEST_F(SettingsStoreTest, KeysStandInReverseOrderAndAnExistingKeyKeepsItsPlace) {
    loadFresh();
    ini.readGroup("G");
    ini.setValue("A", "1");
    ini.setValue("B", "2");
    ini.setValue("C", "3");
    ini.setValue("A", "4");
    EXPECT_EQ(ini.groupText(), "      <C>3</C>\r\n      <B>2</B>\r\n      <A>4</A>\r\n");
}

TEST_F(SettingsStoreTest, GroupsAreReplacedInPlaceAndNewOnesGoBeforeTheRootEnd) {
    loadFresh();
    ini.readGroup("One");
    ini.setValue("K", "1");
    ini.writeGroup();
    ini.readGroup("Two");
    ini.setValue("K", "2");
    ini.writeGroup();
    ini.readGroup("One");
    EXPECT_EQ(ini.valueOr("K", ""), "1");
    ini.setValue("K", "changed");
    ini.writeGroup();
    EXPECT_EQ(ini.document(), "<?xml version='1.0' encoding='Shift-JIS' ?>\r\n<運用>\r\n"
                              "   <One>\r\n      <K>changed</K>\r\n   </One>\r\n"
                              "   <Two>\r\n      <K>2</K>\r\n   </Two>\r\n</運用>");
}

TEST_F(SettingsStoreTest, ValuesReadBackAfterARestart) {
    const std::string path = loadFresh();
    ini.readGroup("設定");
    ini.setValue("TrvHi", 1234.5);
    ini.setValue("Neg", -7);
    ini.setValue("Flag", false);
    ini.setValue("Stamp", DateTime{2026, 12, 7, 11, 30, 0});
    ini.writeGroup();
    ini.writeFile();

    SettingsStore again(messages);
    ASSERT_TRUE(again.readFile(path));
    again.readGroup("設定");
    EXPECT_EQ(again.valueOr("TrvHi", 0), 1234.5);
    EXPECT_EQ(again.valueOr("Neg", 0), -7);
    EXPECT_FALSE(again.valueOr("Flag", true));
    EXPECT_EQ(again.valueOr("Stamp", DateTime{}), (DateTime{2026, 12, 7, 11, 30, 0}));
    EXPECT_EQ(again.valueOr("Missing", 42), 42);
    EXPECT_EQ(again.valueOr("Missing", "def"), "def");
    EXPECT_EQ(again.valueOr("When", DateTime{2020, 1, 2, 3, 4, 5}), (DateTime{2020, 1, 2, 3, 4, 5}));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SettingsStoreTest, NumbersBooleansAndDefaultsFollowTheValueRules) {
    const std::string path = dir.write(
        "User.xml", AnsiCodec::encode("<?xml version='1.0' encoding='Shift-JIS' ?>\r\n<運用>\r\n"
                                      "   <設定>\r\n"
                                      "      <A>12abc</A>\r\n"
                                      "      <B>abc</B>\r\n"
                                      "      <C></C>\r\n"
                                      "      <D>tRUE</D>\r\n"
                                      "      <E>0</E>\r\n"
                                      "      <F>maybe</F>\r\n"
                                      "      <width>99</width>\r\n"
                                      "   </設定>\r\n</運用>"));
    ASSERT_TRUE(ini.readFile(path));
    ini.readGroup("設定");
    EXPECT_EQ(ini.valueOr("A", 5), 12);
    EXPECT_EQ(ini.valueOr("B", 5), 0);
    EXPECT_EQ(ini.valueOr("C", 5), 5);
    EXPECT_EQ(ini.valueOr("C", "x"), "x");
    EXPECT_TRUE(ini.valueOr("D", false));
    EXPECT_FALSE(ini.valueOr("E", true));
    EXPECT_TRUE(ini.valueOr("F", true));
    EXPECT_FALSE(ini.valueOr("F", false));
    EXPECT_EQ(ini.valueOr("Width", 7), 7) << "key names are case-sensitive";
}

TEST_F(SettingsStoreTest, DamagedTagsAreReportedAndReadAsDefaults) {
    const std::string path = dir.write(
        "User.xml", AnsiCodec::encode("<?xml version='1.0' encoding='Shift-JIS' ?>\r\n<運用>\r\n"
                                      "   <設定>\r\n"
                                      "      <Root>/x\r\n"
                                      "      </Width>5<Width>\r\n"
                                      "   </設定>\r\n</運用>"));
    ASSERT_TRUE(ini.readFile(path));
    ini.readGroup("設定");
    EXPECT_EQ(ini.valueOr("Root", "dflt"), "dflt");
    EXPECT_EQ(ini.valueOr("Width", 3), 3);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0],
              "<Root> の設定が読み込めません\rﾕｰｻﾞｰ環境ﾌｧｲﾙ(" + path + ") が破損しています");
    EXPECT_EQ(messages.shown[1].substr(0, 8), "<Width> ");
}

TEST_F(SettingsStoreTest, AGroupWithoutItsClosingTagGetsASecondCompleteBlock) {
    const std::string path = dir.write(
        "User.xml", AnsiCodec::encode("<?xml version='1.0' encoding='Shift-JIS' ?>\r\n<運用>\r\n"
                                      "   <設定>\r\n      <A>1</A>\r\n</運用>"));
    ASSERT_TRUE(ini.readFile(path));
    ini.readGroup("設定");
    EXPECT_EQ(messages.shown.size(), 1u);
    ini.setValue("A", "2");
    ASSERT_TRUE(ini.writeGroup());
    EXPECT_EQ(ini.document(), "<?xml version='1.0' encoding='Shift-JIS' ?>\r\n<運用>\r\n"
                              "   <設定>\r\n      <A>1</A>\r\n"
                              "   <設定>\r\n      <A>2</A>\r\n   </設定>\r\n</運用>");
}

TEST_F(SettingsStoreTest, ADocumentWithoutRootEndCannotTakeANewGroup) {
    const std::string path = dir.write("User.xml", AnsiCodec::encode("<?xml?>\r\n<運用>\r\n"));
    ASSERT_TRUE(ini.readFile(path));
    ini.readGroup("New");
    ini.setValue("K", "v");
    EXPECT_FALSE(ini.writeGroup());
    EXPECT_EQ(ini.document(), "<?xml?>\r\n<運用>\r\n");
    EXPECT_TRUE(ini.writeFile());
    EXPECT_EQ(ini.writeFailure(), "ﾌｧｲﾙに </運用> がないため <New> の設定を書き込めません")
        << "a setting lost is told";
}

TEST_F(SettingsStoreTest, ShortOneLineGroupReadsAsEmpty) {
    const std::string path =
        dir.write("User.xml", AnsiCodec::encode("<?xml?>\r\n<運用><G>ab</G></運用>"));
    ASSERT_TRUE(ini.readFile(path));
    ini.readGroup("G");
    EXPECT_EQ(ini.groupText(), "");
}

TEST_F(SettingsStoreTest, DaggerInAValueReadsBackUnchanged) {
    loadFresh();
    ini.readGroup("G");
    ini.setValue("K", "a‡b");
    EXPECT_EQ(ini.groupText(), "      <K>a&#x2021;b</K>\r\n");
    EXPECT_EQ(ini.valueOr("K", ""), "a‡b");
    ini.setValue("K", "c‡d");
    EXPECT_EQ(ini.valueOr("K", ""), "c‡d");
}

TEST_F(SettingsStoreTest, DvSettingsNameIsMappedToThePlainName) {
    ASSERT_TRUE(ini.readFile(dir / "User_Dv.XML"));
    EXPECT_EQ(ini.filePath(), dir / "User.xml");
}

TEST_F(SettingsStoreTest, SetTxtWithoutPathFails) {
    EXPECT_FALSE(ini.writeFile());
    EXPECT_EQ(ini.writeFailure(), "");
}

// A settings file that is there but cannot be read is never replaced by defaults.
TEST_F(SettingsStoreTest, AFolderOrAPipeInPlaceOfTheFileIsReportedAndLeftAlone) {
    alarm(20); // a pipe opened for reading would wait for a writer for ever
    const std::string folder = dir.mkdir("a/User.xml");
    const std::string pipe = dir.mkdir("b") + "/User.xml";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& path : {folder, pipe}) {
        EXPECT_FALSE(ini.readFile(path)) << path;
        EXPECT_EQ(ini.readFailure(), "通常のﾌｧｲﾙではありません");
        ini.readGroup("設定");
        ini.setValue("Root", "/tmp");
        ini.writeGroup();
        EXPECT_FALSE(ini.writeFile());
        EXPECT_EQ(ini.writeFailure(), "") << "reported once, at start";
    }
    alarm(0);
    struct stat st {};
    EXPECT_TRUE(::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode));
    EXPECT_TRUE(::stat(pipe.c_str(), &st) == 0 && S_ISFIFO(st.st_mode));
}

TEST_F(SettingsStoreTest, AFileWithoutReadPermissionIsLeftAlone) {
    const std::string path = dir.write("User.xml", "<?xml?>\r\n<運用>\r\n</運用>");
    ::chmod(path.c_str(), 0200);
    EXPECT_TRUE(asUnprivileged(dir.path(), [&] {
        const bool read = ini.readFile(path);
        ini.readGroup("設定");
        ini.setValue("Root", "/tmp");
        ini.writeGroup();
        return !read && ini.readFailure() == "ｱｸｾｽが拒否されました" && !ini.writeFile();
    }));
    EXPECT_EQ(TempDir::read(path), "<?xml?>\r\n<運用>\r\n</運用>");
}

TEST_F(SettingsStoreTest, AReadOnlyFolderKeepsTheOldFileAndTellsWhy) {
    const std::string path = dir.write("sub/User.xml", "old");
    EXPECT_TRUE(asUnprivileged(dir.path(), [&] {
        ::chmod((dir / "sub").c_str(), 0500);
        return ini.readFile(path) && !ini.writeFile() && ini.writeFailure() == "ｱｸｾｽが拒否されました";
    }));
    EXPECT_EQ(TempDir::read(path), "old");
}

TEST_F(SettingsStoreTest, AFullDiskKeepsTheOldFileAndTellsWhy) {
    const std::string disk = dir.mkdir("disk");
    if (::mount("tavrin-test", disk.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "no tmpfs can be mounted here";
    struct Unmount {
        std::string at;
        ~Unmount() { ::umount(at.c_str()); }
    } unmount{disk};
    const std::string path = disk + "/User.xml";
    ASSERT_TRUE(ini.readFile(path));
    ASSERT_TRUE(ini.writeFile());
    const std::string before = TempDir::read(path);
    ini.readGroup("設定");
    ini.setValue("Big", std::string(128 * 1024, 'x'));
    ini.writeGroup();
    const bool written = ini.writeFile();
    const std::string after = TempDir::read(path);
    const bool onlyTheFile = FileSystem::list(disk).files.size() == 1;
    EXPECT_FALSE(written);
    EXPECT_EQ(ini.writeFailure(), "ﾃﾞｨｽｸの空き容量が不足しています");
    EXPECT_EQ(after, before);
    EXPECT_TRUE(onlyTheFile) << "the temporary file is removed";
}

TEST_F(SettingsStoreTest, DocumentHasNoLengthLimit) {
    const std::string path = loadFresh();
    ini.readGroup("設定");
    const std::string big(100000, 'x');
    ini.setValue("Big", big);
    ini.setValue("After", 1);
    ini.writeGroup();
    ini.writeFile();
    SettingsStore again(messages);
    again.readFile(path);
    again.readGroup("設定");
    EXPECT_EQ(again.valueOr("Big", ""), big);
    EXPECT_EQ(again.valueOr("After", 0), 1);
}

// Linux names can hold anything: every such value must survive the file unchanged and
// leave the layout intact.
TEST_F(SettingsStoreTest, AnyNameSurvivesTheFileUnchanged) {
    const std::vector<std::string> values = {
        "/tmp/a</Root>b",     "/tmp/x<設定>y&z", "/tmp/A&B",          "/tmp/&lt;literal",
        "/tmp/〜wave−minus‖", "/tmp/emoji😀",     "/tmp/\xff\xfe raw", "/tmp/line\nbreak",
        "/tmp/&#x41;",        "/tmp/한국어",     "/tmp/a,b c",
    };
    const std::string path = loadFresh();
    ini.readGroup("設定");
    for (std::size_t i = 0; i < values.size(); ++i)
        ini.setValue("K" + std::to_string(i), values[i]);
    ini.setValue("Root", "after");
    ini.writeGroup();
    ASSERT_TRUE(ini.writeFile());

    SettingsStore again(messages);
    ASSERT_TRUE(again.readFile(path));
    again.readGroup("設定");
    for (std::size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(again.valueOr("K" + std::to_string(i), ""), values[i]) << i;
    EXPECT_EQ(again.valueOr("Root", ""), "after");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SettingsStoreTest, FilesOfTheWindowsProgramReadTheSame) {
    // A raw "&" and "～" as written there.
    const std::string path = dir.write(
        "User.xml", AnsiCodec::encode("<?xml version='1.0' encoding='Shift-JIS' ?>\r\n<運用>\r\n"
                                      "   <設定>\r\n      <Root>C:\\A&B\\～</Root>\r\n"
                                      "   </設定>\r\n</運用>"));
    const std::string before = TempDir::read(path);
    ASSERT_TRUE(ini.readFile(path));
    ini.readGroup("設定");
    EXPECT_EQ(ini.valueOr("Root", ""), "C:\\A&B\\～");
    ini.setValue("Root", ini.valueOr("Root", ""));
    ini.writeGroup();
    ini.writeFile();
    EXPECT_EQ(TempDir::read(path), before);
}

} // namespace
