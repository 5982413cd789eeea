#include "browser/BrowserFixture.h"

#include <cstdio>
#include <unistd.h>

namespace {

// Another program (the test) changes folders under expanded nodes; the real inotify
// watches hear it. Reads end when the test says so, as a local disk's would at once.
class ExpandedWatchTest : public BrowserFixture {
  protected:
    static constexpr std::size_t kTreeNotices = 1; // the watch made after the list's
    static void SetUpTestSuite() { NullUiLoop::holdWork = true; }
    static void TearDownTestSuite() { NullUiLoop::holdWork = false; }

    // A root with a, a/a1 and b expanded (as the view expands them) and a/a2 selected.
    void open(const std::string& root, bool treeOnly) {
        for (const char* folder : {"a/a1/deep", "a/a2", "b/b1/x", "c"})
            dir.mkdir(root + "/" + folder);
        browser.showList(!treeOnly);
        browser.setRoot(dir / root);
        reads();
        for (const char* folder : {"a", "a/a1", "b"}) {
            TreeNode* node = nodeAtPath(dir / root + "/" + folder);
            browser.controls().treeControl.setExpandedFromView(node, true, nullptr);
            browser.treeNodeExpanding(node->key());
            reads();
        }
        browser.controls().treeControl.select(nodeAtPath(dir / root + "/a/a2"));
    }
    ManualWork& work() { return *loop.heldWork; }
    // Ends the reads asked for and those their results ask for; how many there were.
    int reads() {
        int n = 0;
        for (; !work().jobs.empty(); ++n)
            work().finish();
        return n;
    }
    ManualTimer& gathering() { return *loop.timers.at(1); }
    // What the window's loop does: hears the notices, and the gathering ends.
    void notices() {
        ASSERT_TRUE(loop.deliverReadable(kTreeNotices));
        EXPECT_LE(gathering().interval, 1000) << "shown within a second";
        gathering().tick();
        reads();
    }
    std::vector<std::string> children(const std::string& path) {
        return childTexts(nodeAtPath(dir / path));
    }
};

TEST_F(ExpandedWatchTest, FoldersMadeAndRemovedElsewhereFollowInTheTreeAndNothingElseMoves) {
    for (const bool treeOnly : {false, true}) {
        SCOPED_TRACE(treeOnly ? "tree-only view" : "split view");
        const std::string r = treeOnly ? "t" : "s";
        open(r, treeOnly);
        auto& tree = browser.controls().treeControl;
        TreeNode* selected = tree.selected();
        const std::size_t followed = browser.expandedWatch().followed();

        dir.mkdir(r + "/a/a15"); // inside an expanded node
        dir.mkdir(r + "/bb");    // beside one
        ASSERT_EQ(::rename((dir / r + "/c").c_str(), (dir / r + "/d").c_str()), 0);
        ASSERT_EQ(::rmdir((dir / r + "/b/b1/x").c_str()), 0);
        ASSERT_EQ(::rmdir((dir / r + "/b/b1").c_str()), 0);
        dir.write(r + "/a/new.txt", "");
        notices();
        std::vector<std::string> a = {"a1", "a15", "a2"};
        if (treeOnly)
            a.push_back("new.txt"); // files below the subfolders
        EXPECT_EQ(children(r + "/a"), a);
        EXPECT_EQ(children(r), (std::vector<std::string>{"a", "b", "bb", "d"}));
        EXPECT_TRUE(children(r + "/b").empty());
        EXPECT_EQ(tree.selected(), selected);
        EXPECT_TRUE(nodeAtPath(dir / r + "/a/a1")->expanded());
        EXPECT_EQ(children(r + "/a/a1"), std::vector<std::string>{"deep"});

        // An expanded node that goes takes its watch with it.
        ASSERT_EQ(::rmdir((dir / r + "/a/a1/deep").c_str()), 0);
        ASSERT_EQ(::rmdir((dir / r + "/a/a1").c_str()), 0);
        notices();
        EXPECT_FALSE(nodeAtPath(dir / r + "/a/a1"));
        EXPECT_EQ(browser.expandedWatch().followed(), followed - 1);

        // A node opened again after a change while it was closed shows the change.
        TreeNode* b = nodeAtPath(dir / r + "/b");
        tree.setExpandedFromView(b, false, nullptr);
        dir.mkdir(r + "/b/b2");
        tree.setExpandedFromView(b, true, nullptr);
        browser.treeNodeExpanding(b->key());
        gathering().tick();
        reads();
        EXPECT_EQ(children(r + "/b"), std::vector<std::string>{"b2"});
    }
}

TEST_F(ExpandedWatchTest, ABurstOfNewFoldersCostsAHandfulOfReads) {
    open("r", false);
    int asked = 0;
    for (int i = 0; i < 200; ++i) {
        dir.mkdir("r/a/n" + std::to_string(1000 + i));
        loop.deliverReadable(kTreeNotices); // heard whenever the loop listens
        asked += reads();
        if (i % 50 == 49) { // 100 ms went by
            gathering().tick();
            asked += reads();
        }
    }
    EXPECT_LE(asked, 5);
    EXPECT_EQ(children("r/a").size(), 202u);
}

} // namespace
