#include "actions/ActionsFixture.h"
#include "platform/desktop/ShellLink.h"

#include <unistd.h>

namespace {

// A shell link with only its header: a link to something that is not a file-system item.
std::string linkWithoutTarget() {
    std::string bytes(76, '\0');
    bytes[0] = 0x4C;
    const unsigned char clsid[16] = {0x01, 0x14, 0x02, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};
    bytes.replace(4, 16, reinterpret_cast<const char*>(clsid), 16);
    bytes[60] = 1; // show normally
    return bytes + std::string(4, '\0');
}

class DoubleClickOpeningTest : public ActionsFixture {
  protected:
    void SetUp() override {
        dir.mkdir("r/sub/deep");
        dir.write("r/report.txt", "");
        dir.mkdir("target/inside");
        dir.write("bin/prog", "#!/bin/sh\n");
        ASSERT_TRUE(ShellLink::save(dir / "r/to folder.lnk", dir / "target", ""));
        ASSERT_TRUE(ShellLink::save(dir / "r/to prog.LNK", dir / "bin/prog", ""));
        dir.write("gone/x", "");
        ASSERT_TRUE(ShellLink::save(dir / "r/to gone.lnk", dir / "gone/x", ""));
        ::unlink((dir / "gone/x").c_str());
        dir.write("r/broken.lnk", "not a link");
        dir.write("r/empty.lnk", linkWithoutTarget());
        ASSERT_TRUE(ShellLink::load(dir / "r/empty.lnk"));
        ASSERT_EQ(ShellLink::load(dir / "r/empty.lnk")->targetPath, "");
        browser.setRoot(dir / "r");
    }
    void openRow(const std::string& name) {
        browser.listMousePressed(keyOf(name), MouseButton::Left, {});
        browser.listDoubleClicked(keyOf(name));
    }
    // A double-click on the tree's file node `name` (tree-only view).
    void openNode(const std::string& name) {
        TreeNode* file = nullptr;
        for (TreeNode* n = browser.controls().treeControl.firstNode()->firstChild(); n;
             n = n->nextSibling())
            if (n->text() == name)
                file = n;
        ASSERT_TRUE(file) << name;
        const std::string key = file->key();
        browser.treeMousePressed(key, MouseButton::Left, {});
        browser.treeNodeDoubleClicked(key);
    }
};

TEST_F(DoubleClickOpeningTest, FilesAndShortcutTargetsGoToTheHost) {
    openRow("report.txt");
    openRow("to prog.LNK");
    openRow("broken.lnk");
    openRow("empty.lnk");
    openRow("to gone.lnk");
    EXPECT_EQ(opened, (std::vector<std::string>{"open " + (dir / "r/report.txt"),
                                                "open " + (dir / "bin/prog")}))
        << "broken, empty and dangling shortcuts open nothing";
    EXPECT_FALSE(browser.state().busy);
    EXPECT_EQ(loop.waitDepth, 0);

    opened.clear();
    browser.controls().listControl.setCurrent(row("report.txt"));
    browser.listKeyPressed(BrowserKey::Enter, {});
    browser.listDoubleClicked("");
    EXPECT_EQ(opened, (std::vector<std::string>{"open " + (dir / "r/report.txt")}))
        << "Enter opens the current row; a double-click beside the rows nothing";
}

TEST_F(DoubleClickOpeningTest, ALinkThatLeadsNowhereSaysSo) {
    ASSERT_EQ(::symlink((dir / "gone/y").c_str(), (dir / "r/dangling").c_str()), 0);
    browser.setRoot(dir / "r");
    for (const auto& [name, target] :
         {std::pair{"dangling", dir / "gone/y"}, std::pair{"to gone.lnk", dir / "gone/x"}}) {
        messages.shown.clear();
        openRow(name);
        EXPECT_EQ(messages.shown,
                  std::vector<std::string>{"「" + (dir / "r/") + name +
                                           "」のリンク先が見つかりません。\r" + target});
    }
    EXPECT_EQ(opened, std::vector<std::string>{});
}

TEST_F(DoubleClickOpeningTest, AFolderShortcutReRootsOrGoesToTheHostByPane) {
    browser.setExploreFolderShortcuts(true);
    openRow("to folder.lnk");
    browser.showList(false);
    openNode("to folder.lnk");
    openNode("to prog.LNK");
    openNode("broken.lnk");
    openNode("report.txt");
    EXPECT_EQ(opened, (std::vector<std::string>{
                          "open " + (dir / "target"), "explore " + (dir / "target"),
                          "open " + (dir / "bin/prog"), "open " + (dir / "r/report.txt")}));
    browser.setExploreFolderShortcuts(false);
    opened.clear();
    openNode("to folder.lnk");
    EXPECT_EQ(browser.root(), dir / "target");
    browser.showList(true);
    browser.setRoot(dir / "r");
    openRow("to folder.lnk");
    EXPECT_EQ(browser.root(), dir / "target");
    EXPECT_TRUE(opened.empty());
}

TEST_F(DoubleClickOpeningTest, AFolderRowOpensInTheTreeAndFolderNodesToggle) {
    openRow("sub");
    const TreeNode* selected = browser.controls().treeControl.selected();
    ASSERT_TRUE(selected);
    EXPECT_EQ(browser.tree().fullPath(selected), dir / "r/sub");
    EXPECT_TRUE(selected->expanded());
    EXPECT_EQ(browser.state().listNodeKey, selected->key());
    EXPECT_EQ(listTexts(), (std::vector<std::string>{"deep"}));

    const std::string key = selected->key();
    browser.treeMousePressed(key, MouseButton::Left, {});
    browser.treeNodeDoubleClicked(key);
    EXPECT_FALSE(node(key)->expanded());
    browser.treeNodeDoubleClicked(key);
    EXPECT_TRUE(node(key)->expanded());
    EXPECT_EQ(childTexts(node(key)), (std::vector<std::string>{"deep"}));
    EXPECT_TRUE(opened.empty());
}

} // namespace
