#include "actions/ActionsFixture.h"
#include "browser/FileList.h"
#include "browser/FolderReads.h"

#include <algorithm>

namespace {

// The browser over folders whose reads end only when the test says so.
class SlowFolderTest : public ActionsFixture {
  protected:
    static void SetUpTestSuite() { NullUiLoop::holdWork = true; }
    static void TearDownTestSuite() { NullUiLoop::holdWork = false; }
    void SetUp() override {
        dir.write("r/a/a1.txt", "");
        dir.write("r/b/b1.txt", "");
        dir.write("r/b/b2.txt", "");
        browser.setRoot(dir / "r");
        work().finishAll();
    }
    ManualWork& work() { return *loop.heldWork; }
};

TEST_F(SlowFolderTest, AFolderBeingReadSaysSoAndARowOfAFolderLeftIsNeverShown) {
    ASSERT_EQ(listTexts(), (std::vector<std::string>{"a", "b"}));
    press(dir / "r/a");
    EXPECT_EQ(listTexts(), std::vector<std::string>{std::string(FileList::kBeingRead)});
    EXPECT_TRUE(browser.controls().listControl.busy()) << "the wait pointer over the list";
    press(dir / "r/b");
    ASSERT_EQ(work().jobs.size(), 2u);
    work().finish(1); // b answers first
    EXPECT_EQ(listTexts(), (std::vector<std::string>{"b1.txt", "b2.txt"}));
    EXPECT_FALSE(browser.controls().listControl.busy());
    work().finish(0); // a answers late: the user has left it
    EXPECT_EQ(listTexts(), (std::vector<std::string>{"b1.txt", "b2.txt"}));
    EXPECT_EQ(browser.state().listFolder, dir / "r/b");
}

TEST_F(SlowFolderTest, AReadEndingWhileAMenuIsUpWaitsUntilTheMenuIsGone) {
    press(dir / "r/a");
    popup.during = [this] { work().finishAll(); };
    rightClickRow("");
    EXPECT_EQ(listTexts(), std::vector<std::string>{std::string(FileList::kBeingRead)})
        << "nothing changed under the menu";
    // The held result is looked at again shortly, not only at the 1.5 s tick.
    const auto retry = std::find_if(loop.timers.begin(), loop.timers.end(), [](ManualTimer* t) {
        return t->on && t->interval == FolderReads::kRetryMs;
    });
    ASSERT_NE(retry, loop.timers.end());
    (*retry)->tick();
    EXPECT_EQ(listTexts(), std::vector<std::string>{"a1.txt"});
    EXPECT_FALSE((*retry)->on) << "nothing held any more";
}

TEST_F(SlowFolderTest, AFolderThatDoesNotAnswerIsMarkedAndItsLateAnswerShown) {
    press(dir / "r/a");
    browser.reads().lookForSlowReads(std::chrono::steady_clock::now() + std::chrono::seconds(4));
    EXPECT_EQ(listTexts(), std::vector<std::string>{std::string(FileList::kNotAnswering)});
    ASSERT_TRUE(nodeAtPath(dir / "r/a")->foreColour());
    ASSERT_EQ(messages.notices.size(), 1u);
    EXPECT_NE(messages.notices[0].find(dir / "r/a"), std::string::npos);
    work().finishAll();
    EXPECT_EQ(listTexts(), std::vector<std::string>{"a1.txt"});
    EXPECT_FALSE(nodeAtPath(dir / "r/a")->foreColour()) << "answered again";
}

} // namespace
