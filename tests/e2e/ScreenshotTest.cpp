#include "support/ChildProcess.h"
#include "support/TempDir.h"
#include "support/X11Probe.h"
#include "support/XvfbServer.h"

#include <QImage>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <set>
#include <unistd.h>

// The picture of the README: the program on a small home folder, just started. With
// TAVRIN_SCREENSHOT set the picture is written there.
TEST(ScreenshotTest, TheStartedWindowShowsTreeListAndMenus) {
    TempDir dir;
    for (const char* folder : {"home/ドキュメント", "home/写真", "home/src/app", "home/音楽"})
        dir.mkdir(folder);
    for (const char* file : {"home/README", "home/メモ.txt", "home/build.sh", "home/表.csv"})
        dir.write(file, "x");
    XvfbServer x(640, 420, XvfbServer::WindowManager::Openbox);
    ASSERT_TRUE(x.ok());
    ChildProcess tavrin({TAVRIN_EXE},
                        {"DISPLAY=" + x.display(), "XDG_CONFIG_HOME=" + (dir / "config"),
                         "HOME=" + (dir / "home"), "QT_QPA_PLATFORM=xcb",
                         "XDG_RUNTIME_DIR=" + dir.mkdir("run")},
                        dir / "tavrin.log");
    X11Probe probe(x.display());
    const auto window = probe.waitForWindow("Tavrin", 20000);
    ASSERT_TRUE(window) << TempDir::read(dir / "tavrin.log");
    // Wait for the window to settle at its place and be painted.
    const int width = std::min(window->width + 8, 640);
    std::vector<std::uint32_t> pixels;
    for (int i = 0; i < 40; ++i) {
        usleep(250000);
        pixels = probe.grab(0, 0, width, 420);
        if (i >= 4 && std::set<std::uint32_t>(pixels.begin(), pixels.end()).size() > 40)
            break;
    }
    ASSERT_EQ(pixels.size(), static_cast<std::size_t>(width) * 420);
    EXPECT_GT(std::set<std::uint32_t>(pixels.begin(), pixels.end()).size(), 40u)
        << "icons and text are drawn";

    QImage image(reinterpret_cast<const uchar*>(pixels.data()), width, 420, width * 4,
                 QImage::Format_RGB32);
    const char* target = std::getenv("TAVRIN_SCREENSHOT");
    const std::string path = target && *target ? target : dir / "screenshot.png";
    EXPECT_TRUE(image.convertToFormat(QImage::Format_Indexed8).save(QString::fromStdString(path)));
    tavrin.signal(SIGTERM);
    EXPECT_EQ(tavrin.wait(10000), 0);
}
