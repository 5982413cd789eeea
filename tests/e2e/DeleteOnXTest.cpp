#include "e2e/TavrinOnX.h"
#include "platform/fs/FileSystem.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"
#include "support/X11Probe.h"
#include "support/XvfbServer.h"

#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// Waits until `done` holds, up to `timeoutMs`.
template <typename F> bool waitFor(F&& done, int timeoutMs) {
    for (int waited = 0; waited < timeoutMs; waited += 100) {
        if (done())
            return true;
        usleep(100000);
    }
    return done();
}

TEST(DeleteOnX, AFileRowDeletedWithTheDeleteKeyLandsInTheTrash) {
    TempDir dir;
    const std::string victim = dir.write("files/victim.txt", "v");
    XvfbServer x(1024, 700);
    ASSERT_TRUE(x.ok());
    TavrinOnX tavrin(dir, x.display(), dir / "files");
    X11Probe probe(x.display());
    const auto window = probe.waitForWindow("Tavrin", 20000);
    ASSERT_TRUE(window) << tavrin.log();
    // All the list's rows (the one file), then the Delete key.
    TavrinOnX::selectAllRows(x.display(), *window);
    const auto titled = [&] {
        int count = 0;
        for (const auto& w : probe.windows())
            count += w.title == "Tavrin";
        return count;
    };
    const int before = titled();
    X11Probe::xdotool(x.display(), {"key", "Delete"});
    ASSERT_TRUE(waitFor([&] { return titled() > before; }, 10000)) << "no confirmation";
    X11Probe::xdotool(x.display(), {"key", "Return"});
    EXPECT_TRUE(waitFor([&] { return !FileSystem::fileExists(victim); }, 10000));
    EXPECT_EQ(TempDir::read(dir / "data/Trash/files/victim.txt"), "v");
    EXPECT_NE(TempDir::read(dir / "data/Trash/info/victim.txt.trashinfo").find("Path=" + victim),
              std::string::npos);
    tavrin.signal(SIGTERM);
    EXPECT_EQ(tavrin.wait(10000), 0);
}

} // namespace
