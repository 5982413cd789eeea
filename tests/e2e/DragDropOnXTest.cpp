#include "e2e/TavrinOnX.h"
#include "platform/fs/FileSystem.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"
#include "support/X11Probe.h"
#include "support/XvfbServer.h"

#include <csignal>
#include <cstdio>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

std::string fileName(int number) {
    char name[32];
    std::snprintf(name, sizeof name, "f %02d, x.txt", number);
    return name;
}

// The folders "d1" to "d9" under the root fill the tree pane; the files fill the list.
// Which file row and which folder node the pointer meets depends on the font, so the
// test looks for the one file that went.
std::vector<std::string> landed(const TempDir& dir, int& source) {
    std::vector<std::string> found;
    for (int folder = 1; folder <= 9; ++folder)
        for (int i = 0; i < 40; ++i)
            if (FileSystem::fileExists(dir /
                                       ("w/d" + std::to_string(folder) + "/" + fileName(i)))) {
                found.push_back("d" + std::to_string(folder) + "/" + fileName(i));
                source = i;
            }
    return found;
}

TEST(DragDropOnXTest, ARowDraggedOntoAFolderNodeWithShiftIsMovedThere) {
    TempDir dir;
    const std::string work = dir.mkdir("w");
    for (int folder = 1; folder <= 9; ++folder)
        dir.mkdir("w/d" + std::to_string(folder));
    for (int i = 0; i < 40; ++i)
        dir.write("w/" + fileName(i), std::to_string(i));
    XvfbServer x(800, 700);
    ASSERT_TRUE(x.ok());
    TavrinOnX tavrin(dir, x.display(), work, "      <TrvHi>3000</TrvHi>\r\n");
    X11Probe probe(x.display());
    const auto window = probe.waitForWindow("Tavrin", 20000);
    ASSERT_TRUE(window) << tavrin.log();
    usleep(1000000);
    const std::string d = x.display();
    X11Probe::xdotool(d, {"windowfocus", "--sync", std::to_string(window->id)});
    // A file row near the list's bottom, dragged up into the middle of the tree pane and
    // dropped there with Shift held.
    const int fromY = window->y + window->height - 140;
    const int toY = window->y + 160;
    X11Probe::xdotool(d, {"mousemove", "60", std::to_string(fromY), "mousedown", "1"});
    for (int y = fromY - 10; y > toY; y -= 30)
        X11Probe::xdotool(d, {"mousemove", "60", std::to_string(y)});
    X11Probe::xdotool(d, {"mousemove", "60", std::to_string(toY)});
    X11Probe::xdotool(d, {"keydown", "shift"});
    X11Probe::xdotool(d, {"mousemove", "61", std::to_string(toY)});
    X11Probe::xdotool(d, {"mouseup", "1"});
    X11Probe::xdotool(d, {"keyup", "shift"});
    int source = -1;
    std::vector<std::string> moved;
    for (int i = 0; i < 50 && moved.empty(); ++i, usleep(200000))
        moved = landed(dir, source);
    ASSERT_EQ(moved.size(), 1u) << tavrin.log();
    EXPECT_FALSE(FileSystem::fileExists(work + "/" + fileName(source))) << "moved, not copied";
    EXPECT_EQ(TempDir::read(work + "/" + moved.front()), std::to_string(source));
    tavrin.signal(SIGTERM);
    EXPECT_EQ(tavrin.wait(10000), 0);
}

} // namespace
