#include "browser/BrowserFixture.h"

#include <algorithm>

namespace {

constexpr KeyModifiers kCtrl{false, true, false};
using Texts = std::vector<std::string>;

// Entries whose names begin with "." hidden and shown again by Ctrl+H in both views, on
// a real folder: r holds .hidden_dir (with inner), .hidden_file, repo (whose only
// subfolder is .git), visible (with sub, expanded) and visible.txt.
class HiddenEntriesTest : public BrowserFixture {
  protected:
    void SetUp() override {
        dir.mkdir("r/.hidden_dir/inner");
        dir.mkdir("r/repo/.git");
        dir.mkdir("r/visible/sub");
        dir.write("r/.hidden_file", "h");
        dir.write("r/visible.txt", "v");
    }
    // The view reports the undecided rows it shows; here every one is in sight.
    void showRows() {
        auto& tree = browser.controls().treeControl;
        std::vector<std::string> keys;
        for (int i = 1; i <= tree.count(); ++i)
            if (tree.nodeAt(i)->undecided())
                keys.push_back(tree.nodeAt(i)->key());
        browser.treeRowsShown(keys);
    }
    void toggle(bool fromTree) {
        if (fromTree)
            browser.treeKeyPressed(BrowserKey::H, kCtrl);
        else
            browser.listKeyPressed(BrowserKey::H, kCtrl);
        showRows();
    }
    Texts selectedRows() {
        Texts out;
        for (const ListItem* item : browser.controls().listControl.selectedItems())
            out.emplace_back(item->text());
        std::sort(out.begin(), out.end());
        return out;
    }
};

TEST_F(HiddenEntriesTest, CtrlHHidesAndShowsDotEntriesInBothPanesKeepingTheSelection) {
    struct Case {
        const char* what;
        bool split;
        const char* listed;                                 // pressed in the tree, below r
        Texts hiddenTree, shownTree, hiddenList, shownList; // the list: split view only
    };
    const Texts allFolders{".hidden_dir", "repo", "visible"};
    const Case cases[] = {
        {"split view",
         true,
         "",
         {"repo", "visible"},
         allFolders,
         {"repo", "visible", "visible.txt"},
         {".hidden_dir", "repo", "visible", ".hidden_file", "visible.txt"}},
        {"tree view",
         false,
         "",
         {"repo", "visible", "visible.txt"},
         {".hidden_dir", "repo", "visible", ".hidden_file", "visible.txt"},
         {},
         {}},
        {"split view listing a hidden folder, which stays",
         true,
         "/.hidden_dir",
         allFolders,
         allFolders,
         {"inner"},
         {"inner"}},
    };
    auto& tree = browser.controls().treeControl;
    const auto listed = [&](const Case& c) { return c.split ? listTexts() : Texts{}; };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        browser.showList(c.split);
        browser.setRoot(dir / "r");
        browser.treeNodeExpanding(nodeAtPath(dir / "r/visible")->key());
        tree.expand(nodeAtPath(dir / "r/visible"));
        if (*c.listed)
            press(dir / "r" + c.listed);
        else if (c.split)
            for (const char* name : {"visible", "visible.txt", ".hidden_file"})
                browser.controls().listControl.setSelected(row(name), true);
        else
            tree.select(nodeAtPath(dir / "r/visible"));
        const TreeNode* selected = tree.selected();
        const Texts kept = c.split && !*c.listed ? Texts{"visible", "visible.txt"} : Texts{};
        const auto selectedRows = [&] { return c.split ? this->selectedRows() : Texts{}; };

        toggle(false);
        TreeNode* r = nodeAtPath(dir / "r");
        EXPECT_EQ(childTexts(r), c.hiddenTree);
        EXPECT_EQ(listed(c), c.hiddenList);
        EXPECT_EQ(selectedRows(), kept);
        EXPECT_EQ(tree.selected(), selected);
        EXPECT_TRUE(nodeAtPath(dir / "r/visible")->expanded());
        EXPECT_EQ(childTexts(nodeAtPath(dir / "r/visible")), Texts{"sub"});
        EXPECT_EQ(nodeAtPath(dir / "r/repo")->childCount(), 0) << "only .git: no expand button";
        // An office's lock file that comes while they are hidden stays hidden.
        dir.write("r/.~lock.visible.txt#", "l");
        timer.tick();
        EXPECT_EQ(childTexts(r), c.hiddenTree);
        EXPECT_EQ(listed(c), c.hiddenList);
        ::unlink((dir / "r/.~lock.visible.txt#").c_str());
        timer.tick();

        toggle(true);
        EXPECT_EQ(childTexts(r), c.shownTree);
        EXPECT_EQ(listed(c), c.shownList);
        EXPECT_EQ(selectedRows(), kept);
        EXPECT_EQ(tree.selected(), selected);
        EXPECT_EQ(childTexts(nodeAtPath(dir / "r/visible")), Texts{"sub"});
        EXPECT_EQ(nodeAtPath(dir / "r/repo")->childCount(), 1) << "its dummy is back";
    }
    // Loaded anew while they are hidden: a link count does not tell ".git" from a subfolder.
    toggle(false);
    browser.redrawTree();
    showRows();
    EXPECT_EQ(nodeAtPath(dir / "r/repo")->childCount(), 0);
    EXPECT_EQ(nodeAtPath(dir / "r/visible")->childCount(), 1);
    EXPECT_TRUE(messages.shown.empty());
}

} // namespace
