#include "browser/BrowserFixture.h"

#include <functional>

namespace {

// The real inotify watch of a real folder; the loop and the timers run only when a case
// says so.
class ChangeNoticesTest : public BrowserFixture {
  protected:
    void SetUp() override {
        dir.write("f/a.txt", "");
        browser.setRoot(dir / "f");
    }
    ManualTimer& window() { return *loop.timers.at(0); }
    BrowserState& state() { return const_cast<BrowserState&>(browser.state()); }
};

TEST_F(ChangeNoticesTest, TheFirstNoticeShowsAtOnceAndTheNextOnesAtTheWindowsEnd) {
    dir.write("f/first.txt", "");
    ASSERT_TRUE(loop.deliverReadable());
    EXPECT_TRUE(row("first.txt"));
    EXPECT_GE(window().interval, ChangeNotices::kWindowMs);

    dir.write("f/second.txt", "");
    EXPECT_FALSE(loop.deliverReadable()) << "notices wait while the window is open";
    timer.tick();
    EXPECT_FALSE(row("second.txt")) << "the tick leaves the pane to the open window";
    window().tick();
    EXPECT_TRUE(row("second.txt"));

    window().tick(); // nothing came: the window closes and notices are heard again
    EXPECT_FALSE(window().running());
    ::unlink((dir / "f/a.txt").c_str());
    ASSERT_TRUE(loop.deliverReadable());
    EXPECT_FALSE(row("a.txt"));
}

TEST_F(ChangeNoticesTest, WhatKeepsTheTickQuietKeepsNoticesQuiet) {
    const std::vector<std::pair<const char*, std::function<void(bool)>>> quieters = {
        {"paused tick", [&](bool quiet) { browser.setTimerRunning(!quiet); }},
        {"busy", [&](bool quiet) { state().busy = quiet; }},
    };
    for (const auto& [what, quiet] : quieters) {
        SCOPED_TRACE(what);
        const std::string name = std::string(what) + ".txt";
        quiet(true);
        dir.write("f/" + name, "");
        ASSERT_TRUE(loop.deliverReadable());
        window().tick();
        EXPECT_FALSE(row(name));
        EXPECT_FALSE(window().running());
        quiet(false);
        timer.tick();
        EXPECT_TRUE(row(name)) << "the tick picks up what was left";
    }
}

} // namespace
