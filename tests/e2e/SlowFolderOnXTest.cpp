#include "e2e/TavrinOnX.h"
#include "platform/text/AnsiCodec.h"
#include "support/ChildProcess.h"
#include "support/SlowMount.h"
#include "support/TempDir.h"
#include "support/X11Probe.h"
#include "support/XvfbServer.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

long msSince(Clock::time_point start) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// The program with a FUSE mirror as its root and the mirror's slow folder as the folder it
// last worked in, so that the start opens the slow folder at once.
class SlowFolderOnXTest : public ::testing::TestWithParam<XvfbServer::WindowManager> {
  protected:
    std::unique_ptr<TavrinOnX> start(SlowMount& mount) {
        return std::make_unique<TavrinOnX>(dir, x.display(), mount.mountPoint(),
                                           "      <ActPh>" + mount.slowFolder() + "</ActPh>\r\n");
    }
    // The settings file once it holds `text`, waiting at most `ms`.
    std::string settingsHolding(const std::string& text, int ms) {
        std::string settings;
        const auto asked = Clock::now();
        do {
            settings = AnsiCodec::decode(TempDir::read(dir / "config/Quorvale/tavrin/User.xml"));
            if (settings.find(text) != std::string::npos)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        } while (msSince(asked) < ms);
        return settings;
    }
    // Waits until a notice beside the main window says a folder does not answer.
    bool noticeShown(const X11Probe::Window& window) {
        X11Probe probe(x.display());
        for (int i = 0; i < 200; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(50)))
            for (const X11Probe::Window& w : probe.windows())
                if (w.title == "Tavrin" && w.id != window.id && w.width > 100)
                    return true;
        return false;
    }
    TempDir dir;
    XvfbServer x{800, 700, GetParam()};
};

TEST_P(SlowFolderOnXTest, TheWindowShowsBeforeASlowFolderIsReadAndTellsThatItDoesNotAnswer) {
    SlowMount::Options slow;
    slow.delayMs = 3000;
    SlowMount mount(slow);
    if (!mount.available())
        GTEST_SKIP() << mount.reason();
    std::ofstream(mount.source() + "/slow/a.txt") << "a";
    std::ofstream(mount.source() + "/slow/b.txt") << "b";
    ASSERT_TRUE(x.ok());
    const auto started = Clock::now();
    auto tavrin = start(mount);
    const auto window = TavrinOnX::mainWindow(x.display(), 600);
    ASSERT_TRUE(window) << tavrin->log();
    // Reading the slow folder on the spot takes at least three of its 3 s answers (open,
    // read, a look at each entry); a loaded machine may need a few seconds to start.
    EXPECT_LT(msSince(started), 8000) << "the start waited for the slow folder";
    TavrinOnX::viewMenuLatencyMs(x.display(), *window);
    const long menuMs = TavrinOnX::viewMenuLatencyMs(x.display(), *window);
    std::printf("the menu opened %ld ms after its key\n", menuMs);
    // Reading the folder takes at least three of its answers, so it is still being read. A
    // window that waited for it would open the menu after seconds; this one takes about
    // 10 ms here, the key's own process included (the benchmark holds the window's loop to
    // its 50 ms target; a timed test would fail on a loaded machine).
    ASSERT_LT(msSince(started), 9000);
    EXPECT_LT(menuMs, 1000) << "the menu answers while the folder is being read";
    EXPECT_TRUE(noticeShown(*window)) << "the user is told when the folder does not answer";
    tavrin->signal(SIGTERM);
    EXPECT_EQ(tavrin->wait(20000), 0);
}

TEST_P(SlowFolderOnXTest, AFolderThatNeverAnswersHoldsNeitherTheStartNorTheSettingsAtTheEnd) {
    SlowMount::Options never;
    never.hang = true;
    SlowMount mount(never);
    if (!mount.available())
        GTEST_SKIP() << mount.reason();
    ASSERT_TRUE(x.ok());
    auto tavrin = start(mount);
    const auto window = TavrinOnX::mainWindow(x.display(), 600);
    ASSERT_TRUE(window) << tavrin->log();
    EXPECT_TRUE(noticeShown(*window));
    tavrin->signal(SIGTERM);
    const std::string kept = "<ActPh>" + mount.slowFolder() + "</ActPh>";
    EXPECT_NE(settingsHolding(kept, 5000).find(kept), std::string::npos)
        << "the settings are written, the folder being opened kept as the one worked in";
    // A thread still waiting inside the file system keeps the ended process until the
    // file system lets it go.
    mount.unmount();
    EXPECT_EQ(tavrin->wait(10000), 0);
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutAWindowManager, SlowFolderOnXTest,
                         ::testing::Values(XvfbServer::WindowManager::None,
                                           XvfbServer::WindowManager::Openbox),
                         [](const auto& info) {
                             return info.param == XvfbServer::WindowManager::None
                                        ? "NoWindowManager"
                                        : "Openbox";
                         });

} // namespace
