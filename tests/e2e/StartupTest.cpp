#include "platform/text/AnsiCodec.h"
#include "platform/fs/FileSystem.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"
#include "support/X11Probe.h"
#include "support/XvfbServer.h"

#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The lines of a settings file: CP932, CR LF between lines, none after the last.
std::vector<std::string> settingsLines(const std::string& bytes) {
    const std::string text = AnsiCodec::decode(bytes);
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (auto at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", from)) {
        lines.push_back(text.substr(from, at - from));
        from = at + 2;
    }
    lines.push_back(text.substr(from));
    return lines;
}

std::string keyName(const std::string& line) {
    const auto open = line.find('<');
    return line.substr(open + 1, line.find('>') - open - 1);
}

class StartupTest : public ::testing::Test {
  protected:
    std::unique_ptr<ChildProcess> startTavrin(const XvfbServer& x) {
        dir.mkdir("home");
        return std::make_unique<ChildProcess>(
            std::vector<std::string>{TAVRIN_EXE},
            std::vector<std::string>{"DISPLAY=" + x.display(),
                                     "XDG_CONFIG_HOME=" + (dir / "config"),
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
    EXPECT_EQ(
        std::count_if(shown.begin(), shown.end(), [](auto& w) { return w.title == "Tavrin"; }), 1)
        << "a normal start shows no notice";

    tavrin->signal(SIGTERM);
    EXPECT_EQ(tavrin->wait(10000), 0);
    const std::string bytes = TempDir::read(userXml());
    EXPECT_EQ(AnsiCodec::encode(AnsiCodec::decode(bytes)), bytes);
    const auto lines = settingsLines(bytes);
    ASSERT_EQ(lines.size(), 19u) << AnsiCodec::decode(bytes);
    EXPECT_EQ(lines[0], "<?xml version='1.0' encoding='Shift-JIS' ?>");
    EXPECT_EQ(lines[1], "<運用>");
    EXPECT_EQ(lines[2], "   <設定>");
    std::vector<std::string> keys;
    for (std::size_t i = 3; i < 17 && i < lines.size(); ++i)
        keys.push_back(keyName(lines[i]));
    EXPECT_EQ(keys, (std::vector<std::string>{"LsCwd", "TrvHi", "ShwL", "RcntFL", "RcntEx",
                                              "Recent", "ActPh", "Root", "Width", "MiniFm",
                                              "LnkByExp", "ReadOnly", "TypD", "TypF"}));
    EXPECT_EQ(lines[10], "      <Root>" + (dir / "home") + "</Root>");
    EXPECT_EQ(lines[11], "      <Width>2730</Width>");
    EXPECT_EQ(lines[5], "      <ShwL>True</ShwL>");
    EXPECT_EQ(lines[16], "      <TypF>1</TypF>");
    EXPECT_EQ(lines[17], "   </設定>");
    EXPECT_EQ(lines[18], "</運用>") << "no final line break";
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

TEST_F(StartupTest, ARootWithMarkupCharactersSurvivesARun) {
    const std::string root = dir.mkdir("a<b&c>d");
    const std::string line = "      <Root>" + (dir / "a&lt;b&c&gt;d") + "</Root>";
    dir.write("config/Quorvale/tavrin/User.xml",
              AnsiCodec::encode("<?xml version='1.0' encoding='Shift-JIS' ?>\r\n<運用>\r\n"
                                "   <設定>\r\n" +
                                line + "\r\n   </設定>\r\n</運用>"));
    XvfbServer x(640, 480);
    ASSERT_TRUE(x.ok());
    auto tavrin = startTavrin(x);
    X11Probe probe(x.display());
    ASSERT_TRUE(probe.waitForWindow("Tavrin", 20000));
    tavrin->signal(SIGTERM);
    EXPECT_EQ(tavrin->wait(10000), 0);
    const auto lines = settingsLines(TempDir::read(userXml()));
    EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end());
}

TEST_F(StartupTest, ASigtermWhileAStartUpNoticeIsOpenStoresTheCompleteState) {
    dir.write("config/Quorvale/tavrin/User.xml",
              AnsiCodec::encode("<?xml version='1.0' encoding='Shift-JIS' ?>\r\n<運用>\r\n"
                                "   <設定>\r\n      <Root>/damaged\r\n   </設定>\r\n</運用>"));
    XvfbServer x(800, 600);
    ASSERT_TRUE(x.ok());
    auto tavrin = startTavrin(x);
    X11Probe probe(x.display());
    // The main window shows only after the load: the first window is the notice.
    ASSERT_TRUE(probe.waitForWindow("Tavrin", 20000)) << TempDir::read(dir / "tavrin.log");
    tavrin->signal(SIGTERM);
    EXPECT_EQ(tavrin->wait(10000), 0);
    const auto lines = settingsLines(TempDir::read(userXml()));
    for (const std::string& line : {"      <Root>" + (dir / "home") + "</Root>",
                                    "      <Recent>," + (dir / "home") + ",</Recent>",
                                    std::string("      <Width>2730</Width>")})
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
}

TEST_F(StartupTest, APipeInPlaceOfTheSettingsFileIsReportedAndLeftAlone) {
    dir.mkdir("config/Quorvale/tavrin");
    ASSERT_EQ(::mkfifo(userXml().c_str(), 0600), 0);
    XvfbServer x(800, 600);
    ASSERT_TRUE(x.ok());
    auto tavrin = startTavrin(x);
    X11Probe probe(x.display());
    EXPECT_TRUE(probe.waitForWindow("Tavrin", 20000)) << "the start does not wait on the pipe";
    tavrin->signal(SIGTERM);
    EXPECT_EQ(tavrin->wait(10000), 0);
    struct stat st {};
    EXPECT_TRUE(::stat(userXml().c_str(), &st) == 0 && S_ISFIFO(st.st_mode));
}

// Types keys into the program's window the way a user would.
void typeKeys(const std::string& display, std::uint32_t window,
              const std::vector<std::string>& keys) {
    ChildProcess focus({"/usr/bin/xdotool", "windowfocus", "--sync", std::to_string(window)},
                       {"DISPLAY=" + display});
    focus.wait(5000);
    for (const auto& key : keys) {
        ChildProcess press({"/usr/bin/xdotool", "key", "--window", std::to_string(window), key},
                           {"DISPLAY=" + display});
        press.wait(5000);
        usleep(300000);
    }
}

TEST_F(StartupTest, ARegisteredFolderAndTheRecentFolderSurviveARestart) {
    const std::string work = dir.mkdir("work place");
    dir.write("config/Quorvale/tavrin/User.xml",
              AnsiCodec::encode("<?xml version='1.0' encoding='Shift-JIS' ?>\r\n<運用>\r\n"
                                "   <設定>\r\n      <Root>" +
                                work +
                                "</Root>\r\n"
                                "   </設定>\r\n</運用>"));
    XvfbServer x(800, 600);
    ASSERT_TRUE(x.ok());
    {
        auto tavrin = startTavrin(x);
        X11Probe probe(x.display());
        const auto window = probe.waitForWindow("Tavrin", 20000);
        ASSERT_TRUE(window);
        // Folders menu, registered folders, register the current folder; the settings file
        // is written at once. A busy machine may drop a key before the menu is up: retry.
        const std::string registered = "      <DIR-0>" + work + "</DIR-0>";
        bool written = false;
        for (int attempt = 0; attempt < 3 && !written; ++attempt) {
            typeKeys(x.display(), window->id,
                     {"Escape", "alt+f", "Down", "Down", "Right", "Return"});
            for (int i = 0; i < 50 && !written; ++i, usleep(100000)) {
                const auto lines = settingsLines(TempDir::read(userXml()));
                written = std::find(lines.begin(), lines.end(), registered) != lines.end();
            }
        }
        EXPECT_TRUE(written) << "registering writes the settings at once";
        // Folders menu, recently opened folders, then away again.
        typeKeys(x.display(), window->id, {"alt+f", "Down", "Right", "Escape", "Escape", "Escape"});
        tavrin->signal(SIGTERM);
        ASSERT_EQ(tavrin->wait(10000), 0);
    }
    {
        auto tavrin = startTavrin(x);
        X11Probe probe(x.display());
        ASSERT_TRUE(probe.waitForWindow("Tavrin", 20000));
        tavrin->signal(SIGTERM);
        ASSERT_EQ(tavrin->wait(10000), 0);
    }
    const auto lines = settingsLines(TempDir::read(userXml()));
    EXPECT_NE(std::find(lines.begin(), lines.end(), "      <DIR-0>" + work + "</DIR-0>"),
              lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "      <Recent>," + work + ",</Recent>"),
              lines.end());
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
