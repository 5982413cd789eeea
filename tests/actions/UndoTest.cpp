#include "actions/ActionsFixture.h"
#include "actions/EngineService.h"
#include "actions/UndoHistory.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>

namespace {

constexpr KeyModifiers kCtrl{false, true, false};
constexpr KeyModifiers kShift{true, false, false};

// A browser on "r" whose operations do the real file work, deleting into a trash under
// the test's own data folder; "out" lies beside it.
class UndoTest : public ActionsFixture {
  protected:
    UndoTest() {
        dir.mkdir("r/a");
        dir.mkdir("r/b");
        dir.write("r/a/one.txt", "1");
        dir.write("r/f.txt", "f");
        dir.write("out/two.txt", "2");
        browser.setFileOperationService(&service);
        browser.setFileActions(browser.fileOperations());
        browser.setRoot(dir / "r");
        press(dir / "r");
    }

    // Every entry under "r" and "out": relative path and content ("/" for a folder).
    std::map<std::string, std::string> state() {
        namespace fs = std::filesystem;
        std::map<std::string, std::string> entries;
        for (const char* top : {"r", "out"})
            for (const auto& entry : fs::recursive_directory_iterator(dir / top)) {
                const std::string path = entry.path().string();
                entries[path.substr(dir.path().size())] =
                    entry.is_directory() ? "/" : TempDir::read(path);
            }
        return entries;
    }
    std::vector<std::string> trashed(const char* part) {
        std::vector<std::string> names;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(trash + "/" + part, error))
            names.push_back(entry.path().filename().string());
        return names;
    }
    void rename(const std::string& from, const std::string& to) {
        selectRows({from});
        const std::string key = keyOf(from);
        browser.listKeyPressed(BrowserKey::F2, {});
        browser.listLabelEdited(key, to);
    }
    void newFolder(const std::string& name) {
        browser.perform(BrowserCommand::NewFolder, Pane::List);
        browser.listLabelEdited(std::string(browser.controls().listControl.current()->key()), name);
    }
    void undoByKey() { browser.listKeyPressed(BrowserKey::Z, kCtrl); }

    std::string trash = dir / "data/Trash";
    EngineService service{trash};
};

TEST_F(UndoTest, EachKindOfOperationIsTakenBackNewestFirst) {
    struct Case {
        const char* name;
        std::function<void()> act;
        std::vector<std::string> trashFiles; // what the trash holds after the undo
    };
    const Case cases[] = {
        {"rename", [&] { rename("f.txt", "g.txt"); }, {}},
        {"new folder", [&] { newFolder("neu"); }, {}},
        {"move by drop",
         [&] {
             browser.listDropped(keyOf("b"), {dir / "out/two.txt", dir / "r/f.txt"}, kShift);
         },
         {}},
        {"copy by paste",
         [&] {
             clipboard.setFileList({dir / "out/two.txt", dir / "r/a"}, ClipEffect::Copy);
             browser.treeMousePressed(nodeAtPath(dir / "r/b")->key(), MouseButton::Right, {});
             browser.perform(BrowserCommand::Paste, Pane::Tree);
         },
         {"a", "two.txt"}},
        {"move by cut and paste",
         [&] {
             clipboard.setFileList({dir / "r/a"}, ClipEffect::Move);
             browser.treeMousePressed(nodeAtPath(dir / "r/b")->key(), MouseButton::Right, {});
             browser.perform(BrowserCommand::Paste, Pane::Tree);
         },
         {"a", "two.txt"}},
        {"delete to the trash",
         [&] {
             selectRows({"f.txt", "a"});
             service.dialogs.deleteAnswers = {true};
             browser.listKeyPressed(BrowserKey::Delete, {});
         },
         {"a", "two.txt"}},
    };
    for (const Case& c : cases) {
        const auto before = state();
        c.act();
        ASSERT_NE(state(), before) << c.name << " did nothing";
        undoByKey();
        EXPECT_EQ(state(), before) << c.name;
        EXPECT_EQ(messages.shown, std::vector<std::string>{}) << c.name;
        auto files = trashed("files");
        std::sort(files.begin(), files.end());
        EXPECT_EQ(files, c.trashFiles) << c.name;
        EXPECT_EQ(trashed("info").size(), c.trashFiles.size()) << c.name;
    }
    EXPECT_NE(row("f.txt"), nullptr) << "the list shows what came back";

    // Two operations: the newer is undone first, then the older one.
    rename("f.txt", "g.txt");
    newFolder("neu");
    popup.choice = {"拡張ﾒﾆｭｰ", "元に戻す"};
    rightClickRow("");
    EXPECT_FALSE(std::filesystem::exists(dir / "r/neu"));
    EXPECT_TRUE(std::filesystem::exists(dir / "r/g.txt"));
    undoByKey();
    EXPECT_EQ(TempDir::read(dir / "r/f.txt"), "f");
    popup.choice = {};
    rightClickRow("");
    for (const PopupEntry& entry : popup.shown.back()) {
        if (entry.caption == "拡張ﾒﾆｭｰ") {
            EXPECT_FALSE(entry.submenu.back().enabled) << "nothing left to undo";
        }
    }
    undoByKey();
    EXPECT_EQ(messages.shown, std::vector<std::string>{"元に戻す操作はありません"});
}

TEST_F(UndoTest, WhatChangedOrWouldBeOverwrittenIsLeftAndTold) {
    dir.write("r/c.txt", "c");
    dir.write("r/d.txt", "d");
    const std::string refused = "元に戻せません: 「";
    struct Case {
        const char* name;
        std::function<void()> act;
        std::function<void()> meddle; // what happens between the operation and the undo
        std::string told;
        std::map<std::string, std::string> left; // path under dir and its content then
    };
    const Case cases[] = {
        {"old name taken",
         [&] { rename("f.txt", "g.txt"); },
         [&] { dir.write("r/f.txt", "new"); },
         refused + dir / "r/f.txt" + "」は既にあります",
         {{"r/f.txt", "new"}, {"r/g.txt", "f"}}},
        {"moved items changed or gone",
         [&] {
             browser.listDropped(keyOf("b"), {dir / "out/two.txt", dir / "r/c.txt"}, kShift);
         },
         [&] {
             std::ofstream(dir / "r/b/two.txt", std::ios::app) << "more";
             std::filesystem::remove(dir / "r/b/c.txt");
         },
         refused + dir / "r/b/c.txt" + "」は変更されたか、見つかりません\r" + refused +
             dir / "r/b/two.txt" + "」は変更されたか、見つかりません",
         {{"r/b/two.txt", "2more"}}},
        {"new folder no longer empty",
         [&] { newFolder("neu"); },
         [&] { dir.write("r/neu/kept.txt", "k"); },
         refused + "ﾌｫﾙﾀﾞ「" + dir / "r/neu" + "」は空ではありません",
         {{"r/neu/kept.txt", "k"}}},
        {"copy changed",
         [&] {
             clipboard.setFileList({dir / "r/a/one.txt"}, ClipEffect::Copy);
             browser.treeMousePressed(nodeAtPath(dir / "r/b")->key(), MouseButton::Right, {});
             browser.perform(BrowserCommand::Paste, Pane::Tree);
         },
         [&] { std::ofstream(dir / "r/b/one.txt", std::ios::app) << "edited"; },
         refused + dir / "r/b/one.txt" + "」は変更されたか、見つかりません",
         {{"r/b/one.txt", "1edited"}}},
        {"trashed item's place taken",
         [&] {
             selectRows({"d.txt"});
             service.dialogs.deleteAnswers = {true};
             browser.listKeyPressed(BrowserKey::Delete, {});
         },
         [&] { dir.write("r/d.txt", "newer"); },
         refused + dir / "r/d.txt" + "」は既にあります",
         {{"r/d.txt", "newer"},
          {"data/Trash/files/d.txt", "d"},
          {"data/Trash/info/d.txt.trashinfo", ""}}},
    };
    for (const Case& c : cases) {
        c.act();
        c.meddle();
        undoByKey();
        EXPECT_EQ(messages.shown, std::vector<std::string>{c.told}) << c.name;
        messages.shown.clear();
        for (const auto& [path, content] : c.left) {
            if (!content.empty())
                EXPECT_EQ(TempDir::read(dir / path), content) << c.name << ": " << path;
            else
                EXPECT_TRUE(std::filesystem::exists(dir / path)) << c.name << ": " << path;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "out/two.txt")) << "a changed item stays moved";
}

TEST_F(UndoTest, OnlyTheLastTenOperationsCanBeUndone) {
    for (std::size_t i = 0; i <= UndoHistory::kLimit; ++i)
        newFolder("n" + std::to_string(i));
    for (std::size_t i = 0; i < UndoHistory::kLimit; ++i)
        undoByKey();
    EXPECT_TRUE(messages.shown.empty());
    undoByKey();
    EXPECT_EQ(messages.shown, std::vector<std::string>{"元に戻す操作はありません"});
    EXPECT_TRUE(std::filesystem::exists(dir / "r/n0")) << "the first was pushed out";
    EXPECT_FALSE(std::filesystem::exists(dir / "r/n1"));
}

} // namespace
