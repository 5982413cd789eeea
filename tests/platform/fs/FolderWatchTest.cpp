#include "platform/fs/FolderWatch.h"
#include "support/SlowMount.h"
#include "support/TempDir.h"

#include <chrono>
#include <filesystem>
#include <future>
#include <gtest/gtest.h>

namespace {

// A folder on a FUSE file system is not watched (inotify hears only this machine's
// changes), and asking does not look its path up: on a share that never answers, that
// look-up would hold the window's thread for ever.
TEST(FolderWatchTest, AFolderOnAHungFuseShareIsNotWatchedNorLookedUp) {
    SlowMount::Options never;
    never.hang = true;
    SlowMount mount(never);
    if (!mount.available())
        GTEST_SKIP() << mount.reason();
    std::filesystem::create_directory(mount.source() + "/slow/inner");
    FolderWatch watch;
    auto asked = std::async(std::launch::async,
                            [&] { return watch.generation(mount.slowFolder() + "/inner"); });
    if (asked.wait_for(std::chrono::seconds(2)) != std::future_status::ready) {
        mount.unmount(); // lets the look-up go, so the test can end
        FAIL() << "the folder was looked up";
    }
    EXPECT_FALSE(asked.get());
    TempDir local;
    EXPECT_TRUE(watch.generation(local.path())) << "a local folder is watched";
}

} // namespace
