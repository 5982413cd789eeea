#include "platform/AnsiCodec.h"
#include "platform/FileSystem.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"
#include "support/X11Probe.h"
#include "support/XvfbServer.h"

#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>

namespace {

const std::string kFresh = "<?xml version='1.0' encoding='Shift-JIS' ?>\r\n<運用>\r\n</運用>";

class StartupTest : public ::testing::Test {
protected:
    std::unique_ptr<ChildProcess> startTavrin(const XvfbServer& x) {
        return std::make_unique<ChildProcess>(
            std::vector<std::string>{TAVRIN_EXE},
            std::vector<std::string>{"DISPLAY=" + x.display(), "XDG_CONFIG_HOME=" + (dir / "config"),
                                     "HOME=" + (dir / "home"), "QT_QPA_PLATFORM=xcb",
                                     "XDG_RUNTIME_DIR=" + dir.mkdir("run")},
            dir / "tavrin.log");
    }
    std::string userXml() const { return dir / "config/Quorvale/tavrin/User.xml"; }

    TempDir dir;
};

TEST_F(StartupTest, WindowStandsAtTheLeftEdgeAtFullHeightAndSigtermWritesTheSettings) {
    XvfbServer x(1024, 700);
    ASSERT_TRUE(x.ok());
    auto tavrin = startTavrin(x);
    X11Probe probe(x.display());
    ASSERT_TRUE(probe.ok());
    const auto window = probe.waitForWindow("Tavrin", 20000);
    ASSERT_TRUE(window) << TempDir::read(dir / "tavrin.log");
    EXPECT_EQ(window->x, 0);
    EXPECT_EQ(window->y, 0);
    EXPECT_EQ(window->height, 700);
    EXPECT_EQ(window->width, 182) << "2,730 twips at 96 dpi";
    const auto shown = probe.windows();
    EXPECT_EQ(std::count_if(shown.begin(), shown.end(), [](auto& w) { return w.title == "Tavrin"; }), 1)
        << "a normal start shows no notice";

    tavrin->signal(SIGTERM);
    EXPECT_EQ(tavrin->wait(10000), 0);
    EXPECT_EQ(TempDir::read(userXml()), AnsiCodec::encode(kFresh));
}

TEST_F(StartupTest, WithAWindowManagerTheOuterFrameFillsTheWorkAreaHeight) {
    XvfbServer x(800, 600, XvfbServer::WindowManager::Openbox);
    ASSERT_TRUE(x.ok());
    auto tavrin = startTavrin(x);
    X11Probe probe(x.display());
    ASSERT_TRUE(probe.waitForWindow("Tavrin", 20000));
    // Give the window manager time to decorate and the window time to re-apply its place.
    std::optional<X11Probe::Window> frame;
    for (int i = 0; i < 60; ++i) {
        usleep(100000);
        frame = probe.waitForWindow("Tavrin", 1000);
        if (frame && frame->x == 0 && frame->height < 600)
            break;
    }
    ASSERT_TRUE(frame);
    EXPECT_LE(frame->x, 8);
    EXPECT_GT(frame->height, 500);
    EXPECT_LE(frame->y + frame->height, 600);

    tavrin->signal(SIGINT);
    EXPECT_EQ(tavrin->wait(10000), 0);
    EXPECT_TRUE(FileSystem::fileExists(userXml()));
}

TEST_F(StartupTest, ExistingSettingsSurviveARunUnchanged) {
    const std::string text = "<?xml version='1.0' encoding='Shift-JIS' ?>\r\n<運用>\r\n"
                             "   <設定>\r\n      <Root>/tmp/a&lt;b</Root>\r\n   </設定>\r\n</運用>";
    dir.write("config/Quorvale/tavrin/User.xml", AnsiCodec::encode(text));
    XvfbServer x(640, 480);
    ASSERT_TRUE(x.ok());
    auto tavrin = startTavrin(x);
    X11Probe probe(x.display());
    ASSERT_TRUE(probe.waitForWindow("Tavrin", 20000));
    tavrin->signal(SIGTERM);
    EXPECT_EQ(tavrin->wait(10000), 0);
    EXPECT_EQ(TempDir::read(userXml()), AnsiCodec::encode(text));
}

TEST(StartupWithoutDisplay, SaysHowToRunItInOneLine) {
    TempDir dir;
    ChildProcess tavrin({TAVRIN_EXE}, {"DISPLAY=", "QT_QPA_PLATFORM="}, dir / "out.log");
    EXPECT_EQ(tavrin.wait(10000), 1);
    const std::string out = TempDir::read(dir / "out.log");
    EXPECT_NE(out.find("xvfb-run"), std::string::npos) << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1);
}

} // namespace
