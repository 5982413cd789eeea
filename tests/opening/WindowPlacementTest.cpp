#include "opening/WindowPlacement.h"
#include "support/FakeWaitClock.h"
#include "support/NullUiLoop.h"

#include <deque>
#include <gtest/gtest.h>
#include <map>

namespace {

using Handle = WindowList::Handle;
using Windows = std::vector<Handle>;

// Answers each look at the window list with the next scripted list; the last one stays.
class ScriptedWindowList : public WindowList {
  public:
    std::vector<Handle> shownWindows() override {
        ++looks;
        if (script.size() > 1) {
            Windows next = script.front();
            script.pop_front();
            return next;
        }
        return script.empty() ? Windows{} : script.front();
    }
    bool move(Handle window, const ScreenRect& rect) override {
        moves.push_back({window, rect});
        return true;
    }
    bool activate(Handle) override { return true; }
    std::vector<Handle> windowsOf(int pid) override { return owned[pid]; }

    struct Move {
        Handle window;
        ScreenRect rect;
    };
    std::deque<Windows> script;
    std::vector<Move> moves;
    std::map<int, Windows> owned; // windows by process id
    int looks = 0;
};

class WindowPlacementTest : public ::testing::Test {
  protected:
    // Takes the snapshot on `before`, then sees each of `after` in turn.
    void startWith(Windows before, std::vector<Windows> after) {
        list.script = {std::move(before)};
        placement.placeWindow(0);
        list.script.assign(after.begin(), after.end());
        placement.placeWindow(1);
    }

    const ScreenRect rect{319, 0, 961, 984};
    ScriptedWindowList list;
    NullUiLoop loop;
    FakeWaitClock clock;
    WindowPlacement placement{list, loop, clock};
};

TEST_F(WindowPlacementTest, TheFirstNewWindowInListOrderIsMovedIntoTheRectangle) {
    placement.setPlacement(rect);
    startWith({5, 7}, {{5, 9, 7, 11}});
    ASSERT_EQ(list.moves.size(), 1u);
    EXPECT_EQ(list.moves[0].window, 9u);
    EXPECT_EQ(list.moves[0].rect, rect);
    EXPECT_EQ(placement.lastPlaced(), 9u);
}

TEST_F(WindowPlacementTest, WaitsWhileTheCountIsUnchangedAndLetsEventsRun) {
    placement.setPlacement(rect);
    // A window that closes and another that opens in the same moment keep the count.
    startWith({1, 2}, {{1, 2}, {1, 3}, {1, 2}, {1, 2, 4}});
    ASSERT_EQ(list.moves.size(), 1u);
    EXPECT_EQ(list.moves[0].window, 4u);
    EXPECT_EQ(loop.eventRuns, 3);
}

TEST_F(WindowPlacementTest, TenOrMoreNewWindowsAtOnceMoveNothingButNineDo) {
    placement.setPlacement(rect);
    startWith({1}, {{1, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}});
    EXPECT_TRUE(list.moves.empty());
    EXPECT_EQ(placement.lastPlaced(), 0u);

    startWith({1}, {{1, 10, 11, 12, 13, 14, 15, 16, 17, 18}});
    ASSERT_EQ(list.moves.size(), 1u);
    EXPECT_EQ(list.moves[0].window, 10u);
}

TEST_F(WindowPlacementTest, FewerWindowsAfterTheStartMoveNothing) {
    placement.setPlacement(rect);
    startWith({1, 2, 3}, {{1, 2}});
    EXPECT_TRUE(list.moves.empty());
}

TEST_F(WindowPlacementTest, HandlesAreComparedWholeNotAsDigitsInsideOthers) {
    placement.setPlacement(rect);
    startWith({123}, {{123, 12}});
    ASSERT_EQ(list.moves.size(), 1u);
    EXPECT_EQ(list.moves[0].window, 12u);

    startWith({41230, 77}, {{41230, 23, 77}});
    ASSERT_EQ(list.moves.size(), 2u);
    EXPECT_EQ(list.moves[1].window, 23u);
}

TEST_F(WindowPlacementTest, NothingIsLookedAtOrMovedWhilePlacementIsOff) {
    startWith({1}, {{1, 2}});
    placement.moveWindow();
    EXPECT_EQ(list.looks, 0);
    EXPECT_TRUE(list.moves.empty());
    EXPECT_FALSE(placement.placementOn());
}

TEST_F(WindowPlacementTest, MovWndMovesTheLastPlacedWindowIntoTheNewRectangle) {
    placement.setPlacement(rect);
    placement.moveWindow();
    EXPECT_TRUE(list.moves.empty()) << "no window placed yet";

    startWith({1}, {{1, 2}});
    const ScreenRect wider{500, 0, 780, 984};
    placement.setPlacement(wider);
    placement.moveWindow();
    ASSERT_EQ(list.moves.size(), 2u);
    EXPECT_EQ(list.moves[1].window, 2u);
    EXPECT_EQ(list.moves[1].rect, wider);
    EXPECT_TRUE(placement.placementOn());
}

TEST_F(WindowPlacementTest, NoNewWindowWithinTheTimeLimitMovesNothingAndKeepsEventsRunning) {
    placement.setPlacement(rect);
    startWith({1, 2}, {{1, 2}});
    EXPECT_TRUE(list.moves.empty());
    EXPECT_GE(clock.current - WaitClock::Clock::time_point{}, WindowPlacement::kWaitLimit);
    EXPECT_LT(clock.current - WaitClock::Clock::time_point{},
              WindowPlacement::kWaitLimit + WindowPlacement::kPollInterval * 2);
    EXPECT_EQ(loop.eventRuns, clock.pauses);
    EXPECT_GT(loop.eventRuns, 100);

    // The state is cleared: the next start is placed as usual.
    startWith({1, 2}, {{1, 2, 3}});
    ASSERT_EQ(list.moves.size(), 1u);
    EXPECT_EQ(list.moves[0].window, 3u);
}

TEST_F(WindowPlacementTest, EveryStartTakesAFreshSnapshot) {
    placement.setPlacement(rect);
    // A start that failed took a snapshot but never came to mode 1.
    list.script = {{1, 2}};
    placement.placeWindow(0);
    startWith({1, 2}, {{1, 2, 3}});
    ASSERT_EQ(list.moves.size(), 1u);
    EXPECT_EQ(list.moves[0].window, 3u);
}

TEST_F(WindowPlacementTest, WithoutASnapshotOfItsOwnStartNothingIsMoved) {
    list.script = {{1}};
    placement.placeWindow(0); // placement still off: no snapshot
    placement.setPlacement(rect);
    list.script = {{1, 2}};
    placement.placeWindow(1);
    EXPECT_TRUE(list.moves.empty());
    EXPECT_EQ(list.looks, 0);
}

// While mode 1 waits, an event starts another program with its own placement steps.
class StartingUiLoop : public NullUiLoop {
  public:
    void processEvents() override {
        NullUiLoop::processEvents();
        if (placement && eventRuns == 1) {
            placement->placeWindow(0);
            placement->placeWindow(1);
        }
    }
    PlacementSteps* placement = nullptr;
};

TEST(WindowPlacementNestingTest, AStartDuringTheWaitLeavesTheWaitingPlacementIntact) {
    ScriptedWindowList list;
    StartingUiLoop loop;
    FakeWaitClock clock;
    WindowPlacement placement(list, loop, clock);
    loop.placement = &placement;
    placement.setPlacement({1, 2, 3, 4});
    list.script = {{10, 20}};
    placement.placeWindow(0);
    list.script = {{10, 20}, {10, 20}, {10, 20}, {30, 10, 20}};
    placement.placeWindow(1);
    ASSERT_EQ(list.moves.size(), 1u);
    EXPECT_EQ(list.moves[0].window, 30u);
    EXPECT_EQ(list.looks, 5) << "the nested steps looked at nothing";
}

TEST_F(WindowPlacementTest, EnumWndProcCountsEveryWindowItIsGiven) {
    placement.setPlacement(rect);
    placement.visitWindow(8, 0);
    placement.visitWindow(9, 0);
    list.script = {{8, 9, 10}};
    placement.placeWindow(1);
    ASSERT_EQ(list.moves.size(), 1u);
    EXPECT_EQ(list.moves[0].window, 10u);
}

} // namespace
