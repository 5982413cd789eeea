#include "support/SlowMount.h"

#include "platform/fs/MountTable.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <dirent.h>
#include <fstream>
#include <future>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

long long msSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

std::set<std::string> namesIn(const std::string& folder) {
    std::set<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    while (const dirent* entry = dir ? ::readdir(dir) : nullptr)
        names.insert(entry->d_name);
    if (dir)
        ::closedir(dir);
    names.erase(".");
    names.erase("..");
    return names;
}

// An lstat on a thread of its own, so that a hung one cannot hold up the test.
class LstatOnThread {
  public:
    explicit LstatOnThread(const std::string& path) {
        std::promise<int> error;
        error_ = error.get_future().share();
        thread_ = std::thread([path, error = std::move(error)]() mutable {
            struct stat st;
            error.set_value(::lstat(path.c_str(), &st) == 0 ? 0 : errno);
        });
    }
    ~LstatOnThread() {
        // One still hanging is left to the end of the process rather than block the test.
        if (errorWithin(0ms))
            thread_.join();
        else
            thread_.detach();
    }

    // errno of the lstat (0 when it succeeded), or nullopt while it has not answered.
    std::optional<int> errorWithin(std::chrono::milliseconds wait) const {
        if (error_.wait_for(wait) != std::future_status::ready)
            return std::nullopt;
        return error_.get();
    }

  private:
    std::shared_future<int> error_;
    std::thread thread_;
};

bool inMountTable(const std::string& point) {
    for (const MountEntry& entry : MountTable::read())
        if (entry.mountPoint == point)
            return true;
    return false;
}

} // namespace

TEST(SlowMountTest, OnlyWhatIsInsideTheSlowFolderWaits) {
    SlowMount fs({.delayMs = 300});
    if (!fs.available())
        GTEST_SKIP() << fs.reason();
    const std::string name = "\xff\x01 a\\b";
    std::ofstream(fs.source() + "/slow/" + name) << "inside";

    const auto top = Clock::now();
    std::ofstream(fs.mountPoint() + "/" + name) << "through the mount";
    EXPECT_EQ(namesIn(fs.mountPoint()), (std::set<std::string>{name, "slow"}));
    struct stat st;
    EXPECT_EQ(::lstat(fs.slowFolder().c_str(), &st), 0);
    EXPECT_LT(msSince(top), 300);
    EXPECT_EQ(TempDir::read(fs.source() + "/" + name), "through the mount");

    const auto inside = Clock::now();
    ASSERT_EQ(::lstat((fs.slowFolder() + "/" + name).c_str(), &st), 0);
    EXPECT_GE(msSince(inside), 300);
    EXPECT_EQ(st.st_size, 6);
}

TEST(SlowMountTest, AHangStartedWhileMountedEndsWithTheMount) {
    std::optional<SlowMount> fs(std::in_place, SlowMount::Options{});
    if (!fs->available())
        GTEST_SKIP() << fs->reason();
    const std::string file = fs->slowFolder() + "/file";
    std::ofstream(fs->source() + "/slow/file") << "x";
    EXPECT_EQ(LstatOnThread(file).errorWithin(5s), 0);

    fs->setHang();
    const LstatOnThread hung(file);
    EXPECT_EQ(hung.errorWithin(500ms), std::nullopt);
    EXPECT_EQ(LstatOnThread(fs->mountPoint()).errorWithin(5s), 0);

    const std::string point = fs->mountPoint();
    const auto end = Clock::now();
    fs.reset();
    EXPECT_LT(msSince(end), 5000);
    const std::optional<int> error = hung.errorWithin(2s);
    EXPECT_TRUE(error == ENOTCONN || error == ECONNABORTED) << error.value_or(0);
    EXPECT_FALSE(inMountTable(point));
}
