#include "history/RegisteredFolders.h"
#include "platform/text/AnsiCodec.h"
#include "controls/MenuArray.h"
#include "settings/SettingsStore.h"
#include "support/ScriptedFolderPicker.h"
#include "support/ScriptedMessageBox.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Outcome = RegisteredFolders::Outcome;
using Source = RegisteredFolders::Source;

const std::string kHead = "<?xml version='1.0' encoding='Shift-JIS' ?>\r\n<運用>\r\n";

class RegisteredFoldersTest : public ::testing::Test {
  protected:
    RegisteredFoldersTest() { EXPECT_TRUE(ini.readFile(settingsPath)); }

    std::vector<std::string> shown() const {
        std::vector<std::string> captions;
        for (int index : dirMenu.indexes())
            if (dirMenu.visible(index))
                captions.push_back(dirMenu.caption(index));
        return captions;
    }
    Outcome add(const std::string& folder) {
        return folders.registerChosenFolder(Source::SelectedNode, folder, ini);
    }
    std::string key(const std::string& name, const std::string& value) {
        return "      <" + name + ">" + value + "</" + name + ">\r\n";
    }
    std::string document(const std::string& keys) {
        return kHead + "   <設定>\r\n" + keys + "   </設定>\r\n</運用>";
    }

    TempDir dir;
    std::string settingsPath = dir / "User.xml";
    ScriptedMessageBox messages;
    SettingsStore ini{messages};
    MenuArray dirMenu{0, "?", false};
    MenuArray newMenu{0, "-", false};
    ScriptedFolderPicker picker;
    RegisteredFolders folders{dirMenu, newMenu, picker};
};

TEST_F(RegisteredFoldersTest, NewestStandsFirstAndARepeatMovesToTheTop) {
    add("/A");
    add("/B");
    add("/C");
    EXPECT_EQ(shown(), (std::vector<std::string>{"/C", "/B", "/A"}));
    EXPECT_EQ(add("/A"), Outcome::Saved);
    EXPECT_EQ(shown(), (std::vector<std::string>{"/A", "/C", "/B"}));
    EXPECT_EQ(folders.registeredPaths(), (std::vector<std::string>{"/A", "/B", "/C"}));
}

TEST_F(RegisteredFoldersTest, FirstRegistrationReplacesThePlaceholderAndShowsTheSeparator) {
    EXPECT_EQ(shown(), std::vector<std::string>{});
    EXPECT_FALSE(newMenu.visible(0));
    add("/A");
    EXPECT_EQ(shown(), (std::vector<std::string>{"/A"}));
    EXPECT_EQ(dirMenu.caption(1), "?");
    EXPECT_FALSE(dirMenu.visible(1));
    EXPECT_TRUE(newMenu.visible(0));
}

TEST_F(RegisteredFoldersTest, OtherLetterCaseIsNotAddedTwice) {
    add("/data/Docs");
    add("/data/Work");
    add("/DATA/docs");
    EXPECT_EQ(shown(), (std::vector<std::string>{"/DATA/docs", "/data/Work"}));
    EXPECT_EQ(folders.registeredPaths().size(), 2u);
    EXPECT_TRUE(folders.contains("/data/DOCS"));
}

TEST_F(RegisteredFoldersTest, EveryRegistrationWritesTheFoldersInMenuOrder) {
    dir.write("User.xml", AnsiCodec::encode(document(key("Width", "2730"))));
    ASSERT_TRUE(ini.readFile(settingsPath));
    add("/写真");
    EXPECT_EQ(TempDir::read(settingsPath),
              AnsiCodec::encode(document(key("DIR-0", "/写真") + key("Width", "2730"))));
    add("/B");
    add("/C");
    add("/写真");
    EXPECT_EQ(TempDir::read(settingsPath),
              AnsiCodec::encode(document(key("DIR-2", "/B") + key("DIR-1", "/C") +
                                         key("DIR-0", "/写真") + key("Width", "2730"))));
}

TEST_F(RegisteredFoldersTest, CancelledPickerRegistersNothing) {
    EXPECT_EQ(folders.registerChosenFolder(Source::Picker, "/ignored", ini, 7), Outcome::NothingChosen);
    ASSERT_EQ(picker.calls.size(), 1u);
    EXPECT_EQ(picker.calls[0].owner, 7u);
    EXPECT_EQ(picker.calls[0].title, "ﾌｫﾙﾀﾞの指定");
    EXPECT_EQ(picker.calls[0].initialFolder, "");
    EXPECT_EQ(shown(), std::vector<std::string>{});
    EXPECT_FALSE(newMenu.visible(0));
    EXPECT_EQ(TempDir::read(settingsPath), "");

    EXPECT_EQ(add(""), Outcome::NothingChosen);
    EXPECT_EQ(folders.registeredPaths().size(), 0u);
}

TEST_F(RegisteredFoldersTest, PickedFolderIsRegistered) {
    picker.answers.push_back(dir.mkdir("picked"));
    EXPECT_EQ(folders.registerChosenFolder(Source::Picker, "", ini), Outcome::Saved);
    EXPECT_EQ(shown(), (std::vector<std::string>{dir / "picked"}));
}

TEST_F(RegisteredFoldersTest, SettingsFileThatCannotBeWrittenIsReportedAsNotSaved) {
    SettingsStore lost{messages};
    dir.mkdir("sub");
    ASSERT_TRUE(lost.readFile(dir / "sub/User.xml"));
    ASSERT_EQ(std::remove((dir / "sub/User.xml").c_str()), 0);
    ASSERT_EQ(std::remove((dir / "sub").c_str()), 0);
    EXPECT_EQ(folders.registerChosenFolder(Source::SelectedNode, "/A", lost), Outcome::NotSaved);
    EXPECT_EQ(shown(), (std::vector<std::string>{"/A"}));
}

TEST_F(RegisteredFoldersTest, LoadKeepsExistingFoldersOnceFromTheFirstTenKeys) {
    const std::string a = dir.mkdir("Alpha");
    const std::string b = dir.mkdir("b,c");
    const std::string late = dir.mkdir("late");
    dir.write("User.xml",
              AnsiCodec::encode(document(key("DIR-10", late) + key("DIR-4", b) + key("DIR-3", "") +
                                         key("DIR-2", dir / "ALPHA") + key("DIR-1", dir / "gone") +
                                         key("DIR-0", a))));
    ASSERT_TRUE(ini.readFile(settingsPath));
    ini.readGroup("設定");
    folders.load(ini);
    EXPECT_EQ(shown(), (std::vector<std::string>{a, b}));
    EXPECT_TRUE(newMenu.visible(0));
    EXPECT_TRUE(folders.contains(b));
    EXPECT_FALSE(folders.contains(dir / "b"));
}

TEST_F(RegisteredFoldersTest, LoadWithoutFoldersKeepsThePlaceholderHidden) {
    ini.readGroup("設定");
    folders.load(ini);
    EXPECT_EQ(shown(), std::vector<std::string>{});
    EXPECT_FALSE(newMenu.visible(0));
}

TEST_F(RegisteredFoldersTest, StoreSortsWithoutRegardToCaseAndTwelveComeBackAsTen) {
    std::vector<std::string> names = {"m", "B", "a", "K", "e", "D", "l", "c", "J", "f", "h", "G"};
    for (const std::string& name : names)
        add(dir.mkdir(name));
    ini.readGroup("設定");
    folders.store(ini);
    const std::vector<std::string> sorted = {"a", "B", "c", "D", "e", "f",
                                             "G", "h", "J", "K", "l", "m"};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(ini.valueOr("DIR-" + std::to_string(i), ""), dir / sorted[i]) << i;
    // The placeholder sorts last and keeps its position empty.
    EXPECT_EQ(ini.valueOr("DIR-12", ""), "");

    MenuArray nextDir{0, "?", false};
    MenuArray nextNew{0, "-", false};
    RegisteredFolders next{nextDir, nextNew, picker};
    next.load(ini);
    EXPECT_EQ(next.registeredPaths().size(), 10u);
    EXPECT_EQ(nextDir.caption(9), dir / "K");
}

} // namespace
