#include "e2e/TavrinOnX.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"
#include "support/X11Probe.h"
#include "support/XvfbServer.h"

#include <csignal>
#include <cstdio>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

std::string clipboardText(const std::string& display, const TempDir& dir) {
    ChildProcess xclip({"/usr/bin/xclip", "-selection", "clipboard", "-o", "-t", "UTF8_STRING"},
                       {"DISPLAY=" + display}, dir / "clip.out");
    xclip.wait(5000);
    return TempDir::read(dir / "clip.out");
}

std::string fileName(int number) {
    char name[32];
    std::snprintf(name, sizeof name, "f %02d, x.txt", number);
    return name;
}

TEST(ContextMenuOnXTest, PathNamesOfTwoRowsReachTheClipboardJoinedByCarriageReturn) {
    TempDir dir;
    const std::string work = dir.mkdir("w");
    for (int i = 0; i < 40; ++i)
        dir.write("w/" + fileName(i), "");
    XvfbServer x(800, 700);
    ASSERT_TRUE(x.ok());
    TavrinOnX tavrin(dir, x.display(), work);
    X11Probe probe(x.display());
    const auto window = probe.waitForWindow("Tavrin", 20000);
    ASSERT_TRUE(window) << tavrin.log();
    usleep(1000000);
    const std::string d = x.display();
    const std::string px = "60";
    const std::string py = std::to_string(window->y + window->height - 140);
    X11Probe::xdotool(d, {"windowfocus", "--sync", std::to_string(window->id)});
    // A row of the list, the one below it with Shift, then the menu on the first row.
    X11Probe::xdotool(d, {"mousemove", px, py, "click", "1"});
    X11Probe::xdotool(d, {"key", "shift+Down"});
    X11Probe::xdotool(d, {"mousemove", px, py, "click", "3"});
    // From the bottom of the menu up to "拡張ﾒﾆｭｰ", into it, down to "ﾊﾟｽ名をｺﾋﾟｰ".
    X11Probe::xdotool(d, {"key", "--delay", "250", "Up", "Up", "Up", "Up", "Up", "Right", "Down",
                          "Down", "Down", "Down", "Return"});
    std::string text;
    for (int i = 0; i < 30 && text.find('\r') == std::string::npos; ++i, usleep(200000))
        text = clipboardText(d, dir);
    const auto cr = text.find('\r');
    ASSERT_NE(cr, std::string::npos) << "clipboard: [" << text << "]";
    EXPECT_EQ(text.find('\n'), std::string::npos) << "CR alone between the paths";
    const std::string first = text.substr(0, cr);
    int number = -1;
    for (int i = 0; i < 40; ++i)
        if (first == work + "/" + fileName(i))
            number = i;
    ASSERT_GE(number, 0) << first;
    EXPECT_EQ(text, first + "\r" + work + "/" + fileName(number + 1)) << "no trailing separator";
    tavrin.signal(SIGTERM);
    EXPECT_EQ(tavrin.wait(10000), 0);
}

} // namespace
