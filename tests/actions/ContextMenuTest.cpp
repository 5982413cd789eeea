#include "actions/ContextMenu.h"
#include "actions/ActionsFixture.h"
#include "actions/SendToScan.h"
#include "platform/desktop/ShellLink.h"

namespace {

std::vector<std::string> captions(const std::vector<PopupEntry>& entries) {
    std::vector<std::string> out;
    for (const PopupEntry& entry : entries)
        out.push_back(entry.caption);
    return out;
}

// The commands of the entries that stand for one, submenus walked in place.
void collectCommands(const ContextMenu& menu, const std::vector<PopupEntry>& entries,
                     std::vector<BrowserCommand>& out) {
    for (const PopupEntry& entry : entries) {
        collectCommands(menu, entry.submenu, out);
        if (entry.id < 0)
            continue;
        const std::optional<ChosenCommand> chosen = menu.commandOf(entry.id);
        ASSERT_TRUE(chosen) << entry.caption;
        out.push_back(chosen->command);
    }
}

TEST(ContextMenuItemsTest, TheMenuTreeCarriesEveryItemWithItsIndex) {
    ContextMenu menu;
    EXPECT_EQ(ContextMenu::kCaption, "FolderBrowserのPopUp");
    EXPECT_EQ(menu.editItems.caption(0), "編集");
    EXPECT_EQ(menu.contextItems.count(), 17);
    EXPECT_EQ(menu.contextItems.caption(4), "送る");
    EXPECT_FALSE(menu.contextItems.visible(4));
    EXPECT_FALSE(menu.contextItems.visible(5));
    EXPECT_EQ(menu.sendToItems.caption(0), "?");
    EXPECT_EQ(menu.extendedItems.indexes(), (std::vector<int>{4, 5, 6, 7, 8, 9, 10, 11, 12}));
    const auto entries = menu.entries();
    EXPECT_EQ(captions(entries),
              (std::vector<std::string>{"ｴｸｽﾌﾟﾛｰﾗｰ(&X)", "開く(&O)", "検索(&E)", "-",
                                        "切り取り(&T)", "ｺﾋﾟｰ(&C)", "貼り付け(&P)", "-", "拡張ﾒﾆｭｰ",
                                        "-", "ｼｮｰﾄｶｯﾄの作成(&S)", "削除(&D)", "名前の変更(&M)", "-",
                                        "新規ﾌｫﾙﾀﾞ"}));
    EXPECT_EQ(captions(entries[8].submenu),
              (std::vector<std::string>{"複写先を指定して複写", "移動先を指定して移動", "-",
                                        "作成先を指定してｼｮｰﾄｶｯﾄの作成", "ｼｮｰﾄｶｯﾄの作成と切り取り",
                                        "-", "ﾊﾟｽ名をｺﾋﾟｰ", "ﾌｫﾙﾀﾞ内の一覧をｺﾋﾟｰ", "元に戻す"}));
    menu.reset(false);
    EXPECT_FALSE(menu.entries()[6].enabled);
    using enum BrowserCommand;
    std::vector<BrowserCommand> commands;
    collectCommands(menu, entries, commands);
    EXPECT_EQ(commands, (std::vector<BrowserCommand>{Explore, Open, Find, Cut, Copy, Paste, CopyTo,
                                                     MoveTo, MakeShortcutIn, MakeShortcutAndCut,
                                                     CopyPathNames, CopyListAsText, Undo,
                                                     MakeShortcut, Delete, Rename, NewFolder}))
        << "each caption reads back as its own command";
    EXPECT_FALSE(menu.commandOf(-1));
}

TEST(SendToScanTest, ShortcutsNameTheItemsAndOtherFilesArePassedOver) {
    TempDir dir;
    dir.write("s/b.lnk", "");
    dir.write("s/A.LNK", "");
    dir.write("s/no dot", "");
    dir.write("s/notes.txt", "");
    dir.write("s/x.lnk.bak", "");
    dir.mkdir("s/folder.lnk");
    EXPECT_EQ(SendToScan::names(dir / "s"), (std::vector<std::string>{"A", "b"}))
        << "a name without \".\" no longer hides the whole submenu";
    EXPECT_TRUE(SendToScan::names(dir / "missing").empty());

    ContextMenu menu;
    menu.fillSendTo(SendToScan::names(dir / "s"));
    const auto entries = menu.entries();
    ASSERT_EQ(entries[4].caption, "送る");
    EXPECT_EQ(captions(entries[4].submenu), (std::vector<std::string>{"A", "b"}));
    EXPECT_EQ(entries[5].caption, "-");
    const std::optional<ChosenCommand> chosen = menu.commandOf(entries[4].submenu[1].id);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->command, BrowserCommand::SendTo);
    EXPECT_EQ(chosen->sendToLink, "b");
}

class ContextMenuTest : public ActionsFixture {
  protected:
    void SetUp() override {
        dir.mkdir("r/sub/deep");
        dir.mkdir("r/sub2");
        dir.write("r/a,1.txt", "");
        dir.write("r/b.txt", "");
        browser.setRoot(dir / "r");
    }
    std::string rootKey() { return browser.controls().treeControl.firstNode()->key(); }
    std::string nodeKey(const std::string& relative) {
        return browser.tree().keyOfPath(dir / relative);
    }
};

TEST_F(ContextMenuTest, SelectionsAreWholePathsFromEitherPane) {
    const SelectionCollector& s = browser.actions().selection();
    const std::string r = dir / "r";
    selectRows({"sub2", "a,1.txt", "b.txt"});
    EXPECT_EQ(s.selectedPaths(Pane::List, SelectionScope::All),
              (std::vector<std::string>{r + "/sub2", r + "/a,1.txt", r + "/b.txt"}))
        << "a comma stays inside its path";
    EXPECT_EQ(s.selectedPaths(Pane::List, SelectionScope::Folders),
              (std::vector<std::string>{r + "/sub2"}));
    EXPECT_EQ(s.selectedPaths(Pane::List, SelectionScope::First),
              (std::vector<std::string>{r + "/sub2"}));
    selectRows({"b.txt", "a,1.txt"});
    EXPECT_EQ(s.selectedPaths(Pane::List, SelectionScope::First),
              (std::vector<std::string>{r + "/a,1.txt"}))
        << "first in list order";
    EXPECT_EQ(s.selectedPaths(Pane::List, SelectionScope::Folders),
              (std::vector<std::string>{r + "/"}))
        << "no folder row: the listed folder itself";

    auto& tree = browser.controls().treeControl;
    tree.select(nullptr);
    EXPECT_EQ(s.selectedPaths(Pane::Tree, SelectionScope::Folders), (std::vector<std::string>{r}));
    tree.select(node(nodeKey("r/sub")));
    EXPECT_EQ(s.selectedPaths(Pane::Tree, SelectionScope::First),
              (std::vector<std::string>{r + "/sub"}));
    browser.showList(false);
    TreeNode* file = nullptr;
    for (TreeNode* n = tree.firstNode()->firstChild(); n; n = n->nextSibling())
        if (n->text() == "b.txt")
            file = n;
    ASSERT_TRUE(file);
    tree.select(file);
    EXPECT_TRUE(s.selectedPaths(Pane::Tree, SelectionScope::Folders).empty())
        << "explorer on a file node does nothing";
    EXPECT_EQ(s.selectedPaths(Pane::Tree, SelectionScope::All),
              (std::vector<std::string>{r + "/b.txt"}));
}

TEST_F(ContextMenuTest, TheListShowsPasteOnFolderRowsAndEmptySpaceOnly) {
    selectRows({"b.txt", "sub"});
    rightClickRow("b.txt");
    EXPECT_FALSE(popup.pasteEnabled());
    rightClickRow("sub");
    EXPECT_TRUE(popup.pasteEnabled()) << "the list does not ask the clipboard";
    ListItem* current = browser.controls().listControl.current();
    rightClickRow("");
    EXPECT_TRUE(popup.pasteEnabled());
    EXPECT_FALSE(current->selected()) << "empty space deselects the current row";
    EXPECT_EQ(popup.shown.size(), 3u);
    browser.listMousePressed(keyOf("sub"), MouseButton::Middle, {});
    browser.listMouseReleased(keyOf("sub"), MouseButton::Middle, {});
    EXPECT_EQ(popup.shown.size(), 4u) << "any button but the left one";
    browser.listMousePressed(keyOf("sub"), MouseButton::Left, {});
    browser.listMouseReleased(keyOf("sub"), MouseButton::Left, {});
    EXPECT_EQ(popup.shown.size(), 4u);
    EXPECT_TRUE(actions.calls.empty()) << "a menu closed without a choice dispatches nothing";
}

TEST_F(ContextMenuTest, TheTreeAsksTheClipboardAndMarksTheListedNodeWhileTheMenuIsUp) {
    rightClickNode(rootKey());
    EXPECT_FALSE(popup.pasteEnabled());
    clipboard.files.paths = {"/x"};
    rightClickNode("");
    EXPECT_TRUE(popup.pasteEnabled()) << "empty space";
    const std::string sub = nodeKey("r/sub");
    bool marked = false;
    bool busy = false;
    popup.choice = {"名前の変更(&M)"};
    popup.during = [&] {
        marked = node(rootKey())->backColour() == TreeWatch::kInvertedBack;
        busy = browser.state().busy;
    };
    rightClickNode(sub);
    EXPECT_TRUE(marked);
    EXPECT_TRUE(busy);
    EXPECT_TRUE(popup.pasteEnabled());
    EXPECT_EQ(browser.state().pointedKey, sub) << "the right press points at its node";
    EXPECT_EQ(actions.calls, (std::vector<std::string>{"RenSlc tree"}));
    EXPECT_FALSE(node(rootKey())->backColour()) << "restored after the action";
    EXPECT_FALSE(browser.state().busy);
    EXPECT_EQ(browser.state().listNodeKey, rootKey()) << "the right press opens nothing";

    browser.treeMousePressed(sub, MouseButton::Middle, {});
    browser.treeMouseReleased(sub, MouseButton::Middle, {});
    EXPECT_EQ(popup.shown.size(), 3u) << "the tree's menu is the right button's only";
    EXPECT_EQ(browser.state().pointedKey, sub);
    EXPECT_EQ(browser.state().listNodeKey, sub) << "a middle press opens the node";
}

TEST_F(ContextMenuTest, AChosenItemIsDispatchedWithThePane) {
    selectRows({"a,1.txt", "b.txt"});
    popup.choice = {"拡張ﾒﾆｭｰ", "ﾊﾟｽ名をｺﾋﾟｰ"};
    rightClickRow("b.txt");
    EXPECT_EQ(clipboard.text, (dir / "r/a,1.txt") + "\r" + (dir / "r/b.txt"));
    popup.choice = {"削除(&D)"};
    rightClickNode("");
    EXPECT_EQ(actions.calls, (std::vector<std::string>{"DelSlc [" + (dir / "r") + "] tree"}));
}

TEST_F(ContextMenuTest, KeysActAsTheMenuItemsOnTheCurrentNodeOrRow) {
    selectRows({"sub", "b.txt"});
    const KeyModifiers ctrl{false, true, false};
    browser.listKeyPressed(BrowserKey::C, ctrl);
    browser.listKeyPressed(BrowserKey::X, ctrl);
    browser.listKeyPressed(BrowserKey::C, {});
    browser.listKeyPressed(BrowserKey::Delete, {});
    browser.listKeyPressed(BrowserKey::F2, {});
    EXPECT_EQ(browser.state().trackedItem, 1) << "rename acts on the current row";
    browser.listKeyPressed(BrowserKey::V, ctrl);
    EXPECT_EQ(browser.state().trackedItem, 0) << "paste goes into the listed folder";
    const std::string both = "[" + (dir / "r/sub") + "][" + (dir / "r/b.txt") + "]";
    EXPECT_EQ(actions.calls,
              (std::vector<std::string>{"copy " + both, "cut " + both, "DelSlc " + both + " list",
                                        "RenSlc list", "ClpPast list"}));
    actions.calls.clear();
    browser.treeKeyPressed(BrowserKey::Delete, {});
    EXPECT_EQ(loop.waitDepth, 0);
    browser.treeKeyPressed(BrowserKey::F2, {});
    EXPECT_EQ(browser.state().pointedKey, rootKey());
    EXPECT_EQ(actions.calls,
              (std::vector<std::string>{"DelSlc [" + (dir / "r") + "] tree", "RenSlc tree"}));

    browser.listKeyPressed(BrowserKey::Menu, {});
    browser.treeKeyPressed(BrowserKey::F10, {true, false, false});
    browser.treeKeyPressed(BrowserKey::F10, {});
    EXPECT_EQ(popup.places,
              (std::vector<PopupPlace>{PopupPlace::FocusItem, PopupPlace::FocusItem}));
}

TEST_F(ContextMenuTest, BackspaceInTheListOpensTheParentFolder) {
    press(dir / "r/sub");
    ASSERT_EQ(listTexts(), (std::vector<std::string>{"deep"}));
    browser.listKeyPressed(BrowserKey::Backspace, {});
    EXPECT_EQ(listTexts(), (std::vector<std::string>{"sub", "sub2", "a,1.txt", "b.txt"}));
    EXPECT_EQ(browser.controls().treeControl.selected()->key(), rootKey());
    browser.listKeyPressed(BrowserKey::Backspace, {});
    EXPECT_EQ(browser.root(), dir.path()) << "above the root the tree goes up";
}

} // namespace
