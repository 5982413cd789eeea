#include "support/ChildProcess.h"
#include "support/TempDir.h"
#include "support/X11Probe.h"
#include "support/XvfbServer.h"

#include <QImage>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <unistd.h>

namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 420;

// The program just started on a small home folder under openbox, at a Qt scale factor.
struct Shot {
    X11Probe::Window window; // its frame on the screen, in the screen's pixels
    QImage image;            // the screen's left part, the window's width and a little more
};

Shot shoot(const std::string& scale) {
    TempDir dir;
    for (const char* folder : {"home/ドキュメント", "home/写真", "home/src/app", "home/音楽"})
        dir.mkdir(folder);
    for (const char* file : {"home/README", "home/メモ.txt", "home/build.sh", "home/表.csv"})
        dir.write(file, "x");
    XvfbServer x(kScreenWidth, kScreenHeight, XvfbServer::WindowManager::Openbox);
    Shot shot;
    EXPECT_TRUE(x.ok());
    if (!x.ok())
        return shot;
    ChildProcess tavrin({TAVRIN_EXE},
                        {"DISPLAY=" + x.display(), "XDG_CONFIG_HOME=" + (dir / "config"),
                         "HOME=" + (dir / "home"), "QT_QPA_PLATFORM=xcb",
                         "QT_SCALE_FACTOR=" + scale, "XDG_RUNTIME_DIR=" + dir.mkdir("run")},
                        dir / "tavrin.log");
    X11Probe probe(x.display());
    const auto found = probe.waitForWindow("Tavrin", 20000);
    EXPECT_TRUE(found) << TempDir::read(dir / "tavrin.log");
    if (!found)
        return shot;
    // Wait for the window to settle at its place and be painted.
    std::vector<std::uint32_t> pixels;
    int width = 0;
    for (int i = 0; i < 40; ++i) {
        usleep(250000);
        for (const auto& w : probe.windows())
            if (w.title == "Tavrin")
                shot.window = w;
        width = std::min(shot.window.x + shot.window.width + 8, kScreenWidth);
        pixels = probe.grab(0, 0, width, kScreenHeight);
        if (i >= 4 && std::set<std::uint32_t>(pixels.begin(), pixels.end()).size() > 40)
            break;
    }
    EXPECT_EQ(pixels.size(), static_cast<std::size_t>(width) * kScreenHeight);
    if (pixels.size() == static_cast<std::size_t>(width) * kScreenHeight)
        shot.image = QImage(reinterpret_cast<const uchar*>(pixels.data()), width, kScreenHeight,
                            width * 4, QImage::Format_RGB32)
                         .copy();
    tavrin.signal(SIGTERM);
    EXPECT_EQ(tavrin.wait(10000), 0);
    return shot;
}

std::size_t colourCount(const QImage& image) {
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return colours.size();
}

// The picture of the README: the program on a small home folder, just started. With
// TAVRIN_SCREENSHOT set the picture is written there.
TEST(ScreenshotTest, TheStartedWindowShowsTreeListAndMenus) {
    TempDir dir;
    const Shot shot = shoot("1");
    ASSERT_FALSE(shot.image.isNull());
    EXPECT_GT(colourCount(shot.image), 40u) << "icons and text are drawn";
    const char* target = std::getenv("TAVRIN_SCREENSHOT");
    const std::string path = target && *target ? target : dir / "screenshot.png";
    EXPECT_TRUE(
        shot.image.convertToFormat(QImage::Format_Indexed8).save(QString::fromStdString(path)));
}

// Whether icons are drawn from the theme at the screen's pixels, not their size at 100 %
// doubled. A doubled icon changes colour only between pixel pairs (2k+1, 2k+2), as every
// position at 200 % is even; one drawn at the screen's pixels changes as often inside a
// pair (2k, 2k+1). This counts, over the icons' blue (the folders') in the panes, the
// horizontal colour changes inside pairs, as a share of all; the selection's flat blue, the
// commonest blue, is left out, its edges being drawn at Qt's pixels.
double shareOfChangesInsidePixelPairs(const QImage& image, int& changes) {
    const auto blue = [](QRgb c) { return qBlue(c) > qRed(c) + 60 && qBlue(c) > qGreen(c) + 20; };
    std::map<QRgb, int> blues;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (blue(image.pixel(x, y)))
                ++blues[image.pixel(x, y)];
    QRgb flat = 0;
    for (const auto& [colour, count] : blues)
        if (count > blues[flat])
            flat = colour;
    int inside = 0;
    changes = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x + 1 < image.width(); ++x) {
            const QRgb a = image.pixel(x, y), b = image.pixel(x + 1, y);
            if (a == b || a == flat || b == flat || !(blue(a) || blue(b)))
                continue;
            ++changes;
            inside += x % 2 == 0;
        }
    return changes ? static_cast<double>(inside) / changes : 0;
}

// At 200 % the docked window is twice as wide in the screen's pixels, still at the left
// edge from top to bottom, and its icons are as sharp as the screen's pixels allow.
TEST(ScreenshotTest, AtTwiceTheScaleTheDockedWindowIsTwiceAsWideWithSharpIcons) {
    const Shot one = shoot("1");
    const Shot two = shoot("2");
    ASSERT_FALSE(one.image.isNull());
    ASSERT_FALSE(two.image.isNull());
    // Below the menus and the drive row: the tree's and the list's rows.
    const int panesTop = two.window.y + two.window.height / 3;
    const QImage panes = two.image.copy(0, panesTop, two.image.width(), kScreenHeight - panesTop);
    // The window's inside as the probe sees it; openbox's border, title and handle in the
    // screen's pixels around it at both scales. Qt rounds that border (1 pixel, half of
    // one of its own at 200 %) up, which moves the inside by one pixel at most.
    EXPECT_EQ(two.window.width, 2 * one.window.width);
    EXPECT_NEAR(two.window.x, one.window.x, 1) << "at the left edge";
    EXPECT_EQ(two.window.y, one.window.y);
    EXPECT_NEAR(two.window.y + two.window.height, one.window.y + one.window.height, 1)
        << "down to the work area's bottom";
    int changes = 0;
    const double inside = shareOfChangesInsidePixelPairs(panes, changes);
    EXPECT_GT(changes, 200) << "folder icons are drawn";
    EXPECT_GT(inside, 0.25) << "icons are drawn at the screen's pixels, not doubled";
}

} // namespace
