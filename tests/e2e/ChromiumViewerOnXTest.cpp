#include "e2e/TavrinOnX.h"
#include "platform/desktop/UriList.h"
#include "platform/viewers/ChromiumViewer.h"
#include "platform/x11/XcbWindowList.h"
#include "support/EnvVar.h"
#include "support/TempDir.h"
#include "support/X11Probe.h"
#include "support/XvfbServer.h"

#include <chrono>
#include <csignal>
#include <dirent.h>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

namespace {

using namespace std::string_literals;

bool browserInstalled() {
    for (const char* name : {"chromium", "chromium-browser", "google-chrome"})
        for (const char* folder : {"/usr/bin/", "/usr/local/bin/", "/bin/"})
            if (access((std::string(folder) + name).c_str(), X_OK) == 0)
                return true;
    return false;
}

bool eventually(const std::function<bool()>& check, int timeoutMs = 10000) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!check()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// Processes whose command line names `text`: the browser and all its helpers.
int processesNaming(const std::string& text) {
    int count = 0;
    DIR* proc = opendir("/proc");
    while (dirent* e = proc ? readdir(proc) : nullptr) {
        if (e->d_name[0] < '0' || e->d_name[0] > '9')
            continue;
        const std::string cmdline = TempDir::read("/proc/"s + e->d_name + "/cmdline");
        count += cmdline.find(text) != std::string::npos ? 1 : 0;
    }
    if (proc)
        closedir(proc);
    return count;
}

std::string page(const std::string& title) {
    return "<!doctype html><html><head><meta charset=utf-8><title>" + title +
           "</title></head><body>" + title + "</body></html>";
}

// One X server with a window manager and one browser viewer per test: each start of the
// browser costs seconds, so a test walks through several steps with the same one.
class ChromiumViewerOnXTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!browserInstalled())
            GTEST_SKIP() << "chromium is not installed";
        ASSERT_TRUE(x.ok());
        // Minimising and placing are the window manager's work.
        XcbWindowList windows(x.display());
        ASSERT_TRUE(eventually([&] { return windows.windowManagerRuns(); }, 30000));
        display = std::make_unique<EnvVar>("DISPLAY", x.display());
        viewer = std::make_unique<ChromiumViewer>(files / "profile");
    }
    void TearDown() override {
        viewer.reset();
        EXPECT_TRUE(eventually([&] { return processesNaming(files / "profile") == 0; }))
            << "no browser process is left behind";
    }

    std::optional<X11Probe::Window> browserWindow(const std::string& title) {
        return probe.waitForWindow(title + " - Chromium", 10000);
    }

    XvfbServer x{1280, 1024, XvfbServer::WindowManager::Openbox};
    X11Probe probe{x.display()};
    TempDir files;
    std::unique_ptr<EnvVar> display;
    std::unique_ptr<ChromiumViewer> viewer;
};

TEST_F(ChromiumViewerOnXTest, OnePlacedWindowShowsPagesOfAnyNameAndQuits) {
    EXPECT_FALSE(viewer->alive());
    EXPECT_FALSE(viewer->visible());
    ASSERT_TRUE(viewer->start());
    EXPECT_TRUE(viewer->alive());
    const pid_t pid = viewer->processId();
    ASSERT_GT(pid, 0);

    const std::string plain = files.write("plain.html", page("Plain page"));
    ASSERT_TRUE(viewer->open(plain, true));
    EXPECT_TRUE(browserWindow("Plain page"));
    EXPECT_EQ(viewer->locationUrl(), UriList::fileUri(plain));

    // Every byte of the name arrives: "#", "%", "?", blanks, Japanese, a stray byte.
    const std::string odd = files.write("a #1 100% ?x 日本\xff.html", page("Odd name"));
    ASSERT_TRUE(viewer->open(odd, false));
    EXPECT_TRUE(browserWindow("Odd name")) << "the file itself was found and shown";
    EXPECT_EQ(viewer->locationUrl(),
              "file://" + files.path() + "/a%20%231%20100%25%20%3Fx%20%E6%97%A5%E6%9C%AC%FF.html");
    EXPECT_EQ(viewer->processId(), pid) << "the second page reuses the browser";

    const int left = 319, top = 0, width = 961, height = 984;
    viewer->restore();
    viewer->setBounds(left, top, width, height);
    const auto inRectangle = [&] {
        const auto w = probe.waitForWindow("Odd name - Chromium", 100);
        return w && std::abs(w->x - left) <= 1 && std::abs(w->y - top) <= 1 &&
               std::abs(w->width - width) <= 1 && std::abs(w->height - height) <= 1;
    };
    EXPECT_TRUE(eventually(inRectangle));
    EXPECT_EQ(viewer->minimized(), false);

    viewer->minimize();
    EXPECT_TRUE(eventually([&] { return viewer->minimized() == true; }));
    EXPECT_TRUE(eventually([&] { return !probe.waitForWindow("Odd name - Chromium", 0); }))
        << "the window is no longer shown on the desktop";
    EXPECT_EQ(viewer->visible(), true) << "minimised counts as shown";

    // A kind switch's way back: restored, placed again, the page replaced by a blank one.
    viewer->setBounds(left, top, width, height);
    viewer->show();
    EXPECT_EQ(viewer->minimized(), false);
    EXPECT_TRUE(eventually(inRectangle));
    viewer->closeDocument();
    EXPECT_TRUE(eventually([&] { return viewer->locationUrl() == "about:blank"; }));

    viewer->quit();
    EXPECT_FALSE(viewer->alive());
    EXPECT_EQ(viewer->visible(), std::nullopt);
    EXPECT_EQ(viewer->processId(), 0);
    EXPECT_NE(kill(pid, 0), 0) << "the browser's process has ended";
}

TEST_F(ChromiumViewerOnXTest,
       AKilledOrStoppedBrowserOrAClosedWindowIsNoticedAndTheNextRequestBringsOneBack) {
    ASSERT_TRUE(viewer->start());
    const pid_t first = viewer->processId();
    ASSERT_TRUE(viewer->open(files.write("one.html", page("Page one")), false));
    EXPECT_TRUE(browserWindow("Page one"));

    kill(first, SIGKILL);
    EXPECT_TRUE(eventually([&] { return !viewer->alive(); }, 3000));
    EXPECT_FALSE(viewer->open(files / "one.html", false));
    EXPECT_EQ(viewer->minimized(), std::nullopt);
    viewer->minimize(); // asks nobody, and does not hang
    viewer->closeDocument();

    // The killed browser's lock is still in the profile, and its process id may since have
    // gone to another program (here: this test); the new browser starts all the same.
    const std::string lock = files / "profile/SingletonLock";
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    ASSERT_EQ(unlink(lock.c_str()), 0) << "the killed browser left its lock";
    ASSERT_EQ(symlink((host + "-"s + std::to_string(getpid())).c_str(), lock.c_str()), 0);
    ASSERT_TRUE(viewer->start());
    EXPECT_NE(viewer->processId(), first);
    ASSERT_TRUE(viewer->open(files.write("two.html", page("Page two")), false));
    const auto two = browserWindow("Page two");
    ASSERT_TRUE(two);
    EXPECT_TRUE(viewer->alive());

    // The user closes the window; the next request brings one back.
    X11Probe::xdotool(x.display(), {"windowactivate", "--sync", std::to_string(two->id)});
    X11Probe::xdotool(x.display(), {"key", "ctrl+w"});
    EXPECT_TRUE(eventually([&] { return !probe.waitForWindow("Page two - Chromium", 0); }));
    EXPECT_TRUE(eventually([&] { return viewer->visible() == false; }))
        << "the browser runs on without a window";
    EXPECT_TRUE(viewer->alive());
    viewer->closeDocument();
    viewer->setBounds(100, 50, 700, 600);
    ASSERT_TRUE(viewer->open(files.write("three.html", page("Page three")), false));
    const auto three = browserWindow("Page three");
    ASSERT_TRUE(three);
    EXPECT_EQ(three->x, 100);
    EXPECT_EQ(three->width, 700);

    // A browser that stops answering is given up, not waited for again and again.
    const pid_t stopped = viewer->processId();
    kill(stopped, SIGSTOP);
    EXPECT_FALSE(viewer->alive());
    EXPECT_FALSE(viewer->open(files / "one.html", false));
    EXPECT_EQ(viewer->visible(), std::nullopt);
    ASSERT_TRUE(viewer->start());
    EXPECT_NE(kill(stopped, 0), 0) << "the stopped browser was killed and collected";
    EXPECT_TRUE(viewer->open(files / "one.html", false));
    EXPECT_TRUE(browserWindow("Page one"));
}

// A page shown in the program's kept browser, then the end of the session: the program
// asks nothing, writes its settings and is gone at once, and its browser with it.
TEST(ChromiumViewerOfTavrinOnX, TheSessionsEndAsksNothingAndWritesTheSettings) {
    if (!browserInstalled())
        GTEST_SKIP() << "chromium is not installed";
    TempDir dir;
    dir.write("files/page.html", page("Kept page"));
    XvfbServer x(1024, 700);
    ASSERT_TRUE(x.ok());
    TavrinOnX tavrin(dir, x.display(), dir / "files");
    X11Probe probe(x.display());
    const auto window = probe.waitForWindow("Tavrin", 20000);
    ASSERT_TRUE(window) << tavrin.log();
    TavrinOnX::selectAllRows(x.display(), *window);
    X11Probe::xdotool(x.display(), {"key", "Return"});
    ASSERT_TRUE(probe.waitForWindow("Kept page - Chromium", 30000)) << tavrin.log();
    const std::string settings = dir / "config/Quorvale/tavrin/User.xml";
    ASSERT_EQ(TempDir::read(settings).find("<Width>"), std::string::npos);
    tavrin.signal(SIGTERM);
    EXPECT_EQ(tavrin.wait(3000), 0) << "ended without waiting for an answer";
    EXPECT_NE(TempDir::read(settings).find("<Width>"), std::string::npos);
    EXPECT_TRUE(eventually([&] { return processesNaming(dir / "home/.cache/tavrin") == 0; }));
}

} // namespace
