// Drives a real LibreOffice under Xvfb and openbox. One office per kind is started for the
// whole suite (a start costs seconds); the cases run in order on it.
#include "platform/viewers/LibreOfficeViewer.h"
#include "support/TempDir.h"
#include "support/X11Probe.h"
#include "support/XvfbServer.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr const char* kOffice = "/usr/lib/libreoffice/program/soffice.bin";

bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 10000) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

bool exists(const std::string& path) {
    return access(path.c_str(), F_OK) == 0;
}

// The office's lock file beside a document it opened for editing.
std::string lockFile(const TempDir& dir, const std::string& name) {
    return dir / (".~lock." + name + "#");
}

// Children of this process that ended and were never reaped, but `except`.
int zombieChildren(pid_t except) {
    int count = 0;
    DIR* proc = opendir("/proc");
    while (const dirent* entry = proc ? readdir(proc) : nullptr) {
        const std::string stat = TempDir::read(std::string("/proc/") + entry->d_name + "/stat");
        const auto close = stat.rfind(')');
        if (close == std::string::npos || close + 4 >= stat.size())
            continue;
        const pid_t pid = static_cast<pid_t>(std::atoi(entry->d_name));
        count += stat[close + 2] == 'Z' && std::atoi(stat.c_str() + close + 4) == getpid() &&
                 pid != except;
    }
    if (proc)
        closedir(proc);
    return count;
}

// Shared by both kinds: an X server with a window manager, and folders for the office's
// profiles and the documents.
class OfficeDesktop {
  public:
    OfficeDesktop() : xvfb(1280, 1024, XvfbServer::WindowManager::Openbox) {
        if (xvfb.ok())
            setenv("DISPLAY", xvfb.display().c_str(), 1);
    }
    XvfbServer xvfb;
    TempDir profiles;
    TempDir documents;
};

class OfficeViewerTest : public ::testing::Test {
  protected:
    static void startSuite(OfficeKind kind, const char* profile) {
        if (access(kOffice, X_OK) != 0)
            return;
        desktop = std::make_unique<OfficeDesktop>();
        viewer = std::make_unique<LibreOfficeViewer>(kind, desktop->profiles / profile);
        started = desktop->xvfb.ok() && viewer->start();
    }
    static void TearDownTestSuite() {
        if (viewer)
            viewer->quit();
        viewer.reset();
        desktop.reset();
    }
    void SetUp() override {
        if (access(kOffice, X_OK) != 0)
            GTEST_SKIP() << "LibreOffice is not installed";
        ASSERT_TRUE(started) << "the office did not start";
    }

    std::string document(const std::string& name, const std::string& bytes = "text\n") {
        return desktop->documents.write(name, bytes);
    }
    std::optional<X11Probe::Window> officeWindow(const std::string& titlePart) {
        X11Probe probe(desktop->xvfb.display());
        for (const X11Probe::Window& w : probe.windows())
            if (w.title.find(titlePart) != std::string::npos)
                return w;
        return std::nullopt;
    }
    bool shows(const std::string& titlePart) {
        return waitUntil([&] { return officeWindow(titlePart).has_value(); });
    }
    void typeInto(const std::string& titlePart, const std::string& text) {
        const auto w = officeWindow(titlePart);
        ASSERT_TRUE(w);
        const std::string& display = desktop->xvfb.display();
        X11Probe::xdotool(display, {"windowactivate", "--sync", std::to_string(w->id)});
        X11Probe::xdotool(display, {"type", "--delay", "20", text});
    }

    // An office left shown by an earlier run (here: an earlier viewer of the same profile,
    // let go as the answer No at the exit lets it go) is adopted by the next start, which
    // leaves no child unreaped, and ended by its quit.
    void adoptsTheOfficeLeftRunning(OfficeKind kind, const char* profile, const std::string& name) {
        ASSERT_TRUE(viewer->start());
        ASSERT_TRUE(viewer->open(document("left " + name, "a,b\n"), true));
        viewer->show();
        ASSERT_TRUE(shows("left " + name));
        const pid_t left = viewer->processId();
        viewer = std::make_unique<LibreOfficeViewer>(kind, desktop->profiles / profile);
        EXPECT_TRUE(viewer->leftRunning());
        ASSERT_TRUE(viewer->start());
        EXPECT_EQ(viewer->processId(), left);
        EXPECT_FALSE(viewer->leftRunning());
        EXPECT_EQ(zombieChildren(left), 0) << "the launch that handed over was reaped";
        ASSERT_TRUE(viewer->open(document("next " + name, "c,d\n"), true));
        EXPECT_TRUE(shows("next " + name));
        viewer->quit();
        // The earlier run's office is a child of this test, not of the viewer: reaped here.
        EXPECT_TRUE(waitUntil([&] { return waitpid(left, nullptr, WNOHANG) == left; }));
    }

    static inline std::unique_ptr<OfficeDesktop> desktop;
    static inline std::unique_ptr<LibreOfficeViewer> viewer;
    static inline bool started = false;
};

class WriterViewerTest : public OfficeViewerTest {
  protected:
    static void SetUpTestSuite() { startSuite(OfficeKind::Writer, "office-writer"); }
};

TEST_F(WriterViewerTest, WindowLandsOnThePixelRectangleItIsGiven) {
    viewer->setBounds(319, 0, 961, 984);
    viewer->restore();
    ASSERT_TRUE(viewer->open(document("placed.txt"), false));
    viewer->show();
    ASSERT_TRUE(shows("placed.txt"));
    const auto placed = [&] {
        const auto w = officeWindow("placed.txt");
        return w && std::abs(w->x - 319) <= 1 && std::abs(w->y - 0) <= 1 &&
               std::abs(w->width - 961) <= 1 && std::abs(w->height - 984) <= 1;
    };
    EXPECT_TRUE(waitUntil(placed));
    viewer->closeDocument();
}

TEST_F(WriterViewerTest, ReadOnlyDocumentTakesNoEdits) {
    const std::string bytes = "kept as it is\n";
    const std::string path = document("ro.txt", bytes);
    ASSERT_TRUE(viewer->open(path, true));
    ASSERT_TRUE(shows("ro.txt (read-only)"));
    // Opened for editing, the office would hold a lock beside the file.
    EXPECT_FALSE(exists(lockFile(desktop->documents, "ro.txt")));
    typeInto("ro.txt", "typed");
    viewer->closeDocument();
    EXPECT_EQ(TempDir::read(path), bytes);
}

TEST_F(WriterViewerTest, ClosingAnEditedDocumentSavesNothingAndAsksNothing) {
    const std::string bytes = "original\n";
    const std::string path = document("edited.txt", bytes);
    ASSERT_TRUE(viewer->open(path, false));
    ASSERT_TRUE(shows("edited.txt"));
    EXPECT_TRUE(waitUntil([&] { return exists(lockFile(desktop->documents, "edited.txt")); }));
    typeInto("edited.txt", "changed ");
    viewer->closeDocument();
    EXPECT_EQ(TempDir::read(path), bytes);
    EXPECT_TRUE(waitUntil([&] { return !exists(lockFile(desktop->documents, "edited.txt")); }));
    // The window stays, empty, no longer named after the document; no save question waits.
    EXPECT_TRUE(waitUntil([&] { return !officeWindow("edited.txt"); }));
    EXPECT_TRUE(shows("LibreOffice"));
    EXPECT_EQ(X11Probe(desktop->xvfb.display()).windows().size(), 1u);
    EXPECT_EQ(viewer->visible(), true);
}

TEST_F(WriterViewerTest, EditsTypedIntoTheDocumentAreSeenAndSavedOnRequest) {
    const std::string path = document("kept edits.txt", "original\n");
    ASSERT_TRUE(viewer->open(path, false));
    ASSERT_TRUE(shows("kept edits.txt"));
    EXPECT_FALSE(viewer->modified());
    typeInto("kept edits.txt", "typed ");
    EXPECT_TRUE(waitUntil([&] { return viewer->modified(); }));
    EXPECT_TRUE(viewer->save());
    EXPECT_FALSE(viewer->modified());
    // Saved as the office writes text: its autocorrection may capitalise the first word.
    EXPECT_NE(TempDir::read(path).find("yped original"), std::string::npos);
    viewer->closeDocument();
    ASSERT_TRUE(viewer->open(document("read only.txt"), true));
    ASSERT_TRUE(shows("read only.txt"));
    EXPECT_FALSE(viewer->save()) << "a read-only document is never written";
    viewer->closeDocument();
}

TEST_F(WriterViewerTest, DocumentsInARowShareOneOffice) {
    const int pid = viewer->processId();
    ASSERT_TRUE(viewer->open(document("first.txt"), true));
    viewer->closeDocument();
    ASSERT_TRUE(viewer->open(document("second.rtf", "{\\rtf1 second}"), true));
    EXPECT_TRUE(shows("second.rtf"));
    EXPECT_EQ(viewer->processId(), pid);
    EXPECT_TRUE(viewer->alive());
    viewer->closeDocument();
}

TEST_F(WriterViewerTest, NamesOfAnyBytesReachTheOfficeWhole) {
    // Opened for editing, the office puts its lock file beside exactly the file it read.
    for (const std::string name : {"a b.txt", "hash#1.txt", "per%41cent.txt", "what?.txt",
                                   "日本語.txt", "comma,<&>.txt", "latin1-\xe9\xff.txt"}) {
        SCOPED_TRACE(name);
        document(name);
        EXPECT_TRUE(viewer->open(desktop->documents / name, false));
        EXPECT_TRUE(waitUntil([&] { return exists(lockFile(desktop->documents, name)); }));
        viewer->closeDocument();
    }
}

TEST_F(WriterViewerTest, MinimisesAndRestores) {
    ASSERT_TRUE(viewer->open(document("shown.txt"), true));
    viewer->show();
    ASSERT_TRUE(shows("shown.txt"));
    viewer->minimize();
    EXPECT_TRUE(waitUntil([&] { return !officeWindow("shown.txt"); })); // no longer mapped
    EXPECT_EQ(viewer->minimized(), true);
    EXPECT_EQ(viewer->visible(), true); // a minimised window still counts as shown
    viewer->restore();
    EXPECT_TRUE(shows("shown.txt"));
    EXPECT_EQ(viewer->minimized(), false);
    viewer->closeDocument();
}

TEST_F(WriterViewerTest, KilledOfficeIsNotAliveAndTheNextStartBeginsAnew) {
    const int pid = viewer->processId();
    ASSERT_GT(pid, 0);
    kill(pid, SIGKILL);
    EXPECT_TRUE(waitUntil([&] { return !viewer->alive(); }));
    EXPECT_EQ(viewer->visible(), std::nullopt);
    ASSERT_TRUE(viewer->start());
    EXPECT_NE(viewer->processId(), pid);
    EXPECT_TRUE(viewer->open(document("after.txt"), true));
    EXPECT_TRUE(shows("after.txt"));
}

TEST_F(WriterViewerTest, OfficeLeftWithoutWindowsEndsWithTheViewer) {
    viewer->closeDocument();
    ASSERT_TRUE(viewer->open(document("closed by hand.txt"), true));
    viewer->show();
    const auto w = officeWindow("closed by hand.txt");
    ASSERT_TRUE(w);
    // The user closes the office's last window through the window manager (openbox: Alt+F4).
    X11Probe::xdotool(desktop->xvfb.display(), {"windowactivate", "--sync", std::to_string(w->id)});
    X11Probe::xdotool(desktop->xvfb.display(), {"key", "--clearmodifiers", "alt+F4"});
    ASSERT_TRUE(waitUntil([&] { return !viewer->visible().value_or(false); }));
    const int pid = viewer->processId();
    EXPECT_TRUE(viewer->alive()); // still running, unseen
    viewer = std::make_unique<LibreOfficeViewer>(OfficeKind::Writer,
                                                 desktop->profiles / "office-writer");
    EXPECT_NE(kill(pid, 0), 0);
    ASSERT_TRUE(viewer->start());
}

TEST_F(WriterViewerTest, QuitEndsTheOffice) {
    const int pid = viewer->processId();
    ASSERT_TRUE(viewer->open(document("unsaved.txt", "as on disk\n"), false));
    typeInto("unsaved.txt", "never saved");
    viewer->quit();
    EXPECT_NE(kill(pid, 0), 0); // ended and reaped
    EXPECT_EQ(TempDir::read(desktop->documents / "unsaved.txt"), "as on disk\n");
    EXPECT_FALSE(viewer->alive());
}

TEST_F(WriterViewerTest, AnOfficeLeftRunningByAnEarlierRunIsAdoptedAndEnded) {
    adoptsTheOfficeLeftRunning(OfficeKind::Writer, "office-writer", "memo.txt");
}

class CalcViewerTest : public OfficeViewerTest {
  protected:
    static void SetUpTestSuite() { startSuite(OfficeKind::Calc, "office-calc"); }
};

TEST_F(CalcViewerTest, SpreadsheetOpensReadOnlyAndGivesWayMinimised) {
    const std::string path = document("table.csv", "a,b\n1,2\n");
    ASSERT_TRUE(viewer->open(path, true));
    viewer->show();
    ASSERT_TRUE(shows("table.csv (read-only)"));
    EXPECT_TRUE(officeWindow("LibreOffice Calc"));
    // What the open policy does when another kind is asked for.
    viewer->closeDocument();
    viewer->minimize();
    EXPECT_EQ(viewer->minimized(), true);
    EXPECT_FALSE(officeWindow("table.csv"));
    EXPECT_EQ(TempDir::read(path), "a,b\n1,2\n");
    const int pid = viewer->processId();
    viewer->quit();
    EXPECT_NE(kill(pid, 0), 0);
}

TEST_F(CalcViewerTest, AnOfficeLeftRunningByAnEarlierRunIsAdoptedAndEnded) {
    adoptsTheOfficeLeftRunning(OfficeKind::Calc, "office-calc", "table.csv");
}

} // namespace
