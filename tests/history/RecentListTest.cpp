#include "history/RecentList.h"
#include "controls/MenuArray.h"
#include "history/RecentLists.h"
#include "settings/SettingsStore.h"
#include "support/ScriptedMessageBox.h"
#include "support/SlowMount.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<std::string> shown(const MenuArray& menu) {
    std::vector<std::string> captions;
    for (int index : menu.indexes())
        if (menu.visible(index))
            captions.push_back(menu.caption(index));
    return captions;
}

class RecentListTest : public ::testing::Test {
  protected:
    TempDir dir;
    MenuArray menu{0, "?", true};
    RecentList folders{MustExist::Folder, &menu};
};

TEST_F(RecentListTest, ReusedEntryMovesToTheFrontInItsNewSpelling) {
    folders.load("");
    folders.add("/data/A");
    EXPECT_EQ(folders.text(), ",/data/A,");
    EXPECT_EQ(shown(menu), (std::vector<std::string>{"/data/A"}));
    folders.add("/data/A");
    EXPECT_EQ(folders.text(), ",/data/A,");

    folders.add("/data/B");
    folders.add("/data/A");
    EXPECT_EQ(folders.text(), ",/data/A,/data/B,");
    folders.add("/data/a");
    EXPECT_EQ(folders.text(), ",/data/a,/data/B,");
    EXPECT_EQ(shown(menu), (std::vector<std::string>{"/data/a", "/data/B"}));
}

TEST_F(RecentListTest, TwentyFiveFoldersShowTheLast21AndARestartKeepsThoseStillThere) {
    std::vector<std::string> paths;
    RecentList withoutMenu{MustExist::Folder};
    for (int i = 0; i < 25; ++i) {
        paths.push_back(dir.mkdir("f" + std::to_string(100 + i)));
        folders.add(paths.back());
        withoutMenu.add(paths.back());
    }
    const std::vector<std::string> expected(paths.rbegin(), paths.rbegin() + 21);
    EXPECT_EQ(shown(menu), expected);
    EXPECT_EQ(folders.entries().size(), 25u);
    EXPECT_FALSE(menu.exists(21));

    ASSERT_EQ(std::remove(paths[10].c_str()), 0);
    const std::string stored = folders.saved();
    // Without a submenu the saved value holds the entries a submenu would show.
    EXPECT_EQ(withoutMenu.saved(), stored);

    MenuArray nextMenu{0, "?", true};
    RecentList next{MustExist::Folder, &nextMenu};
    next.load(stored);
    next.add("");
    std::vector<std::string> kept = expected;
    std::erase(kept, paths[10]);
    EXPECT_EQ(shown(nextMenu), kept);
    EXPECT_EQ(next.text(), stored);
}

TEST_F(RecentListTest, ShorterListHidesTheFurtherItemsButNeverItemZero) {
    for (int i = 0; i < 5; ++i) {
        menu.setCaption(i, "old" + std::to_string(i));
        menu.setVisible(i, true);
    }
    folders.load(",/x,/y,");
    folders.add("");
    EXPECT_EQ(shown(menu), (std::vector<std::string>{"/x", "/y"}));

    MenuArray emptyMenu{0, "?", true};
    emptyMenu.setVisible(3, true);
    RecentList empty{MustExist::Folder, &emptyMenu};
    empty.add("");
    EXPECT_EQ(shown(emptyMenu), (std::vector<std::string>{"?"}));
}

TEST_F(RecentListTest, EmptyListShowsOnlyThePlaceholderWhichIsNeverSaved) {
    folders.load("");
    folders.add("");
    EXPECT_EQ(shown(menu), (std::vector<std::string>{"?"}));
    EXPECT_EQ(folders.saved(), ",");
}

TEST_F(RecentListTest, EntriesGoneFromDiskAreDroppedWhenSaved) {
    folders.add(dir / "gone1");
    folders.add(dir / "gone2");
    EXPECT_EQ(shown(menu).size(), 2u);
    EXPECT_EQ(folders.saved(), ",");

    const std::string kept = dir.mkdir("kept");
    folders.add(kept);
    EXPECT_EQ(folders.saved(), "," + kept + ",");
}

TEST_F(RecentListTest, SavedValueSkipsRepeatsAndEntriesOfTheWrongKind) {
    const std::string folder = dir.mkdir("Folder");
    const std::string otherCase = dir.mkdir("FOLDER");
    const std::string file = dir.write("note.txt", "x");
    folders.load("," + folder + "," + folder + "," + otherCase + "," + file + ",");
    folders.add("");
    EXPECT_EQ(shown(menu).size(), 4u);
    EXPECT_EQ(folders.saved(), "," + folder + ",");

    MenuArray fileMenu{0, "?", true};
    RecentList files{MustExist::File, &fileMenu};
    files.load("," + folder + "," + file + ",");
    files.add("");
    EXPECT_EQ(files.saved(), "," + file + ",");
}

TEST_F(RecentListTest, PathWithACommaIsOneEntryThatIsNotStored) {
    const std::string comma = dir.mkdir("a,b");
    const std::string plain = dir.mkdir("c");
    folders.add(plain);
    folders.add(comma);
    EXPECT_EQ(shown(menu), (std::vector<std::string>{comma, plain}));
    EXPECT_EQ(folders.entries().size(), 2u);
    EXPECT_EQ(folders.text(), "," + plain + ",");
    EXPECT_EQ(folders.saved(), "," + plain + ",");

    // Re-using the comma path moves that one entry; no piece of it matches "c" or "a".
    folders.add(plain);
    EXPECT_EQ(shown(menu), (std::vector<std::string>{plain, comma}));
}

TEST_F(RecentListTest, StoredValueIsReadEntryByEntryEvenWithoutTheFramingCommas) {
    folders.load("/x,,/y");
    folders.add("/z");
    EXPECT_EQ(folders.text(), ",/z,/x,/y,");
}

class RecentListsTest : public ::testing::Test {
  protected:
    RecentListsTest() { lists.setMenus(&rcFd, &rcEx, &rcFL); }

    TempDir dir;
    MenuArray rcFd{0, "?", true};
    MenuArray rcEx{0, "?", true};
    MenuArray rcFL{0, "?", true};
    RecentLists lists;
    ScriptedMessageBox messages;
};

TEST_F(RecentListsTest, ExeInAnyLetterCaseGoesToTheExecutedList) {
    EXPECT_TRUE(RecentLists::isExecutable("/opt/SETUP.EXE"));
    EXPECT_TRUE(RecentLists::isExecutable("/opt/tool.Exe"));
    EXPECT_FALSE(RecentLists::isExecutable("/opt/exe"));
    EXPECT_FALSE(RecentLists::isExecutable("/opt/a.exe.txt"));
    EXPECT_FALSE(RecentLists::isExecutable("exe"));

    lists.recordOpenedFile("/opt/SETUP.EXE");
    lists.recordOpenedFile("/home/u/報告書.odt");
    EXPECT_EQ(shown(rcEx), (std::vector<std::string>{"/opt/SETUP.EXE"}));
    EXPECT_EQ(shown(rcFL), (std::vector<std::string>{"/home/u/報告書.odt"}));
    EXPECT_EQ(shown(rcFd), (std::vector<std::string>{"?"}));
}

TEST_F(RecentListsTest, LoadFillsTheFileMenusAndStoreRoundTripsOddNames) {
    const std::string folder = dir.mkdir("<&> 写真\r\nzwei");
    const std::string program = dir.write("bin/run.exe", "x");
    const std::string document = dir.write("docs/a&b <c>.txt", "x");
    lists.addRecentFolder(folder);
    lists.recordOpenedFile(program);
    lists.recordOpenedFile(document);

    SettingsStore ini{messages};
    ASSERT_TRUE(ini.readFile(dir / "User.xml"));
    ini.readGroup("設定");
    lists.store(ini);
    ASSERT_TRUE(ini.writeGroup());
    ASSERT_TRUE(ini.writeFile());

    SettingsStore again{messages};
    ASSERT_TRUE(again.readFile(dir / "User.xml"));
    again.readGroup("設定");
    MenuArray fd{0, "?", true}, ex{0, "?", true}, fl{0, "?", true};
    RecentLists next;
    next.setMenus(&fd, &ex, &fl);
    next.load(again);
    EXPECT_EQ(shown(ex), (std::vector<std::string>{program}));
    EXPECT_EQ(shown(fl), (std::vector<std::string>{document}));
    // The folder menu fills when the restored root is recorded.
    EXPECT_EQ(shown(fd), (std::vector<std::string>{"?"}));
    EXPECT_EQ(next.folders().entries(), (std::vector<std::string>{folder}));
}

} // namespace

namespace {

TEST(RecentListOnAHungShareTest, SavingKeepsAFolderThatDoesNotAnswerAndNeverWaitsForIt) {
    SlowMount::Options never;
    never.hang = true;
    SlowMount mount(never);
    if (!mount.available())
        GTEST_SKIP() << mount.reason();
    RecentList folders{MustExist::Folder};
    const std::string hung = mount.slowFolder() + "/inside";
    folders.add(mount.mountPoint());
    folders.add(hung);
    const auto started = std::chrono::steady_clock::now();
    const std::string saved = folders.saved();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
    EXPECT_EQ(saved, "," + hung + "," + mount.mountPoint() + ",");
}

} // namespace
