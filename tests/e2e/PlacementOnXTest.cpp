#include "app/MainWindow.h"
#include "opening/OpenPolicy.h"
#include "opening/ShellServices.h"
#include "opening/WindowPlacement.h"
#include "platform/process/SteadyWaitClock.h"
#include "platform/qt/QtMainWindow.h"
#include "platform/qt/QtUiLoop.h"
#include "platform/viewers/LibreOfficeViewer.h"
#include "platform/x11/XcbWindowList.h"
#include "settings/DocumentOptions.h"
#include "support/ChildProcess.h"
#include "support/EnvVar.h"
#include "support/NullUiLoop.h"
#include "support/ScriptedFolderPicker.h"
#include "support/ScriptedShellOpener.h"
#include "support/TempDir.h"
#include "support/X11Probe.h"
#include "support/XvfbServer.h"

#include <QApplication>
#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

constexpr const char* kXmessage = "/usr/bin/xmessage";

bool inside(const X11Probe::Window& w, const ScreenRect& r) {
    return w.x >= r.left && w.y >= r.top && w.x + w.width <= r.left + r.width &&
           w.y + w.height <= r.top + r.height;
}

// Windows of a test's own, created and mapped in one go.
class OwnWindows {
  public:
    explicit OwnWindows(const std::string& display)
        : conn_(xcb_connect(display.c_str(), nullptr)) {}
    ~OwnWindows() { xcb_disconnect(conn_); }

    void create(int count, int size) {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(conn_)).data;
        for (int i = 0; i < count; ++i) {
            const xcb_window_t w = xcb_generate_id(conn_);
            xcb_create_window(conn_, XCB_COPY_FROM_PARENT, w, screen->root, 10 * i, 10 * i,
                              static_cast<std::uint16_t>(size), static_cast<std::uint16_t>(size), 0,
                              XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
            xcb_map_window(conn_, w);
            ids.push_back(w);
        }
        xcb_flush(conn_);
    }

    // The window the window manager names as active.
    xcb_window_t active() {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(conn_)).data;
        auto* atom = xcb_intern_atom_reply(
            conn_, xcb_intern_atom(conn_, 0, 18, "_NET_ACTIVE_WINDOW"), nullptr);
        xcb_window_t window = 0;
        if (atom) {
            auto* reply = xcb_get_property_reply(
                conn_, xcb_get_property(conn_, 0, screen->root, atom->atom, XCB_ATOM_WINDOW, 0, 1),
                nullptr);
            if (reply && xcb_get_property_value_length(reply) == 4)
                window = *static_cast<xcb_window_t*>(xcb_get_property_value(reply));
            std::free(reply);
            std::free(atom);
        }
        return window;
    }

    std::pair<int, int> size(xcb_window_t w) {
        auto* geometry = xcb_get_geometry_reply(conn_, xcb_get_geometry(conn_, w), nullptr);
        const std::pair<int, int> result{geometry ? geometry->width : 0,
                                         geometry ? geometry->height : 0};
        std::free(geometry);
        return result;
    }

    std::vector<xcb_window_t> ids;

  private:
    xcb_connection_t* conn_;
};

class PlacementOnXTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (access(kXmessage, X_OK) != 0)
            GTEST_SKIP() << "xmessage (x11-utils) is not installed";
    }

    std::unique_ptr<ChildProcess> startXmessage(const XvfbServer& x, const std::string& title) {
        return std::make_unique<ChildProcess>(
            std::vector<std::string>{kXmessage, "-title", title, "placed by the test"},
            std::vector<std::string>{"DISPLAY=" + x.display()});
    }

    // Waits until the window titled `title` is where `wanted` says; the last seen state.
    template <typename Wanted>
    std::optional<X11Probe::Window> waitUntil(X11Probe& probe, const std::string& title,
                                              Wanted wanted) {
        std::optional<X11Probe::Window> seen;
        for (int i = 0; i < 100; ++i) {
            seen = probe.waitForWindow(title, 5000);
            if (seen && wanted(*seen))
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return seen;
    }
    // Waits until the window fills `rect` less no more than a window frame.
    std::optional<X11Probe::Window> waitFilling(X11Probe& probe, const std::string& title,
                                                const ScreenRect& rect) {
        return waitUntil(probe, title, [&](const X11Probe::Window& w) {
            return inside(w, rect) && w.width > rect.width - 40 && w.height > rect.height - 60;
        });
    }

    // On a busy machine the window manager may still be starting when the server is up.
    static bool waitForWindowManager(XcbWindowList& windows) {
        for (int i = 0; i < 300 && !windows.windowManagerRuns(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return windows.windowManagerRuns();
    }

    NullUiLoop loop;
    SteadyWaitClock clock;
};

TEST_F(PlacementOnXTest, AStartedProgramsWindowIsMovedIntoTheRectangleByTheWindowManager) {
    XvfbServer x(1024, 768, XvfbServer::WindowManager::Openbox);
    ASSERT_TRUE(x.ok());
    XcbWindowList windows(x.display());
    ASSERT_TRUE(windows.connected());
    ASSERT_TRUE(waitForWindowManager(windows));
    WindowPlacement placement(windows, loop, clock);
    const ScreenRect rect{300, 40, 640, 420};
    placement.setPlacement(rect);

    placement.placeWindow(0);
    auto program = startXmessage(x, "PlacedHere");
    placement.placeWindow(1);

    ASSERT_NE(placement.lastPlaced(), 0u) << "the new window was found";
    X11Probe probe(x.display());
    const auto shown = waitFilling(probe, "PlacedHere", rect);
    ASSERT_TRUE(shown);
    EXPECT_TRUE(inside(*shown, rect))
        << shown->x << "," << shown->y << " " << shown->width << "x" << shown->height;
    EXPECT_GT(shown->width, rect.width - 40) << "the frame, not more, is taken off";
    EXPECT_GT(shown->height, rect.height - 60);
    EXPECT_EQ(shown->id, placement.lastPlaced());

    // After the rectangle changes, moveWindow brings the window into the new one.
    const ScreenRect wider{200, 0, 800, 500};
    placement.setPlacement(wider);
    placement.moveWindow();
    const auto moved = waitFilling(probe, "PlacedHere", wider);
    ASSERT_TRUE(moved);
    EXPECT_TRUE(inside(*moved, wider));
    EXPECT_GT(moved->width, wider.width - 40);

    // Another window takes the focus; activating the placed one gives it back.
    OwnWindows other(x.display());
    other.create(1, 100);
    for (int i = 0; i < 100 && other.active() != other.ids[0]; ++i) {
        windows.activate(other.ids[0]);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_EQ(other.active(), other.ids[0]);
    EXPECT_TRUE(windows.activate(placement.lastPlaced()));
    for (int i = 0; i < 100 && other.active() != placement.lastPlaced(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(other.active(), placement.lastPlaced());
}

TEST_F(PlacementOnXTest, WithoutAWindowManagerTheWindowTakesTheRectangleItself) {
    XvfbServer x(1024, 768);
    ASSERT_TRUE(x.ok());
    XcbWindowList windows(x.display());
    WindowPlacement placement(windows, loop, clock);
    const ScreenRect rect{250, 30, 500, 300};
    placement.setPlacement(rect);

    placement.placeWindow(0);
    auto program = startXmessage(x, "Unmanaged");
    placement.placeWindow(1);

    X11Probe probe(x.display());
    // The window's own border (if any) lies outside its inner rectangle.
    const auto shown = waitUntil(probe, "Unmanaged", [&](const X11Probe::Window& w) {
        return std::abs(w.x - rect.left) <= 2 && std::abs(w.width - rect.width) <= 2;
    });
    ASSERT_TRUE(shown);
    EXPECT_NEAR(shown->x, rect.left, 2);
    EXPECT_NEAR(shown->y, rect.top, 2);
    EXPECT_NEAR(shown->width, rect.width, 2);
    EXPECT_NEAR(shown->height, rect.height, 2);
}

TEST_F(PlacementOnXTest, TenNewWindowsAtOnceAreLeftWhereTheyAre) {
    XvfbServer x(1024, 768, XvfbServer::WindowManager::Openbox);
    ASSERT_TRUE(x.ok());
    XcbWindowList windows(x.display());
    ASSERT_TRUE(waitForWindowManager(windows));
    WindowPlacement placement(windows, loop, clock);
    placement.setPlacement({300, 0, 555, 333});

    auto program = startXmessage(x, "Older");
    X11Probe probe(x.display());
    ASSERT_TRUE(probe.waitForWindow("Older", 10000));
    placement.placeWindow(0);
    const std::size_t before = windows.shownWindows().size();
    OwnWindows many(x.display());
    many.create(10, 100);
    for (int i = 0; i < 200 && windows.shownWindows().size() < before + 10; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    ASSERT_EQ(windows.shownWindows().size(), before + 10);
    placement.placeWindow(1);

    EXPECT_EQ(placement.lastPlaced(), 0u);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    for (const xcb_window_t w : many.ids)
        EXPECT_EQ(many.size(w), std::make_pair(100, 100)) << "window " << w << " was moved";
}

// The open policy with a real kept Writer under a window manager: the viewer's frame,
// title bar included, lies in the area right of the main window.
class AreaHost : public PolicyHost {
  public:
    const DocumentOptions& documentOptions() const override { return options; }
    void minimizeMain() override {}
    int mainWidthTwips() const override { return 3000; } // 200 pixels
    double mainTwipsPerPixelX() const override { return 15; }
    PixelRect workArea() const override { return {0, 0, 1024, 768}; }
    void setWaitCursor(bool) override {}
    MessageBox::SaveChoice askToSave(std::string_view) override {
        return MessageBox::SaveChoice::Discard;
    }
    DocumentOptions options;
};

TEST_F(PlacementOnXTest, AKeptOfficeViewersFrameLiesInTheAreaBesideTheMainWindow) {
    if (access("/usr/lib/libreoffice/program/soffice.bin", X_OK) != 0)
        GTEST_SKIP() << "LibreOffice is not installed";
    XvfbServer x(1024, 768, XvfbServer::WindowManager::Openbox);
    ASSERT_TRUE(x.ok());
    XcbWindowList windows(x.display());
    ASSERT_TRUE(waitForWindowManager(windows));
    EnvVar display("DISPLAY", x.display());
    TempDir dir;
    LibreOfficeViewer writer(OfficeKind::Writer, dir / "profile");
    WindowPlacement placement(windows, loop, clock);
    AreaHost host;
    host.options.officeOpenMode = 2;
    ScriptedShellOpener opener;
    ScriptedFolderPicker picker;
    ShellServices shell{opener, picker, loop};
    OpenPolicy policy(shell, &placement, nullptr, KeptViewers{&writer, nullptr, nullptr});
    policy.attachHost(host);
    std::string memo = dir.write("memo.txt", "memo\n");
    policy.open(memo, OpenMode::Document);
    X11Probe probe(x.display());
    const ScreenRect area = policy.rectangle();
    std::optional<X11Probe::Window> shown;
    for (int i = 0; i < 100 && !(shown && shown->y > 0 && inside(*shown, area)); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        for (const X11Probe::Window& w : probe.windows())
            if (w.title.find("memo.txt") != std::string::npos)
                shown = w;
    }
    ASSERT_TRUE(shown) << "the document is shown";
    EXPECT_TRUE(inside(*shown, area))
        << shown->x << "," << shown->y << " " << shown->width << "x" << shown->height;
    EXPECT_GT(shown->y, area.top) << "the title bar above the window's inside is on the screen";
    EXPECT_GT(shown->width, area.width - 40) << "the frame, not more, is taken off";
    writer.quit();
}

// The open policy's host over the real main window, its width read as the main window's
// logic reads it.
class QtWindowHost : public PolicyHost {
  public:
    explicit QtWindowHost(QtMainWindow& window) : window_(window) {}
    const DocumentOptions& documentOptions() const override { return options_; }
    void minimizeMain() override {}
    int mainWidthTwips() const override {
        return static_cast<int>(window_.frameGeometry().width() * window_.twipsPerPixelX() + 0.5);
    }
    double mainTwipsPerPixelX() const override { return window_.twipsPerPixelX(); }
    PixelRect workArea() const override { return window_.workArea(); }
    void setWaitCursor(bool) override {}
    MessageBox::SaveChoice askToSave(std::string_view) override {
        return MessageBox::SaveChoice::Discard;
    }

  private:
    QtMainWindow& window_;
    DocumentOptions options_;
};

// At a scale of 200 % Qt's pixels are two of the screen's: the rectangle right of the main
// window, computed in Qt's pixels, must reach the window manager in the screen's.
TEST_F(PlacementOnXTest, AtTwiceTheScaleAStartedWindowFillsTheAreaRightOfTheMainWindow) {
    XvfbServer x(1024, 768, XvfbServer::WindowManager::Openbox);
    ASSERT_TRUE(x.ok());
    EnvVar display("DISPLAY", x.display());
    EnvVar platform("QT_QPA_PLATFORM", "xcb");
    EnvVar scale("QT_SCALE_FACTOR", "2");
    int argc = 1;
    char name[] = "tavrin_e2e_tests";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    const auto windows = XcbWindowList::forApplication();
    ASSERT_TRUE(waitForWindowManager(*windows));
    QtMainWindow window(MainWindow::kDesignedWidthTwips, MainWindow::kDesignedHeightTwips);
    const PixelRect work = window.workArea();
    window.setFrameGeometry({work.left, work.top, work.left + window.width(), work.bottom});
    window.show();
    X11Probe probe(x.display());
    // Settled at the left edge once its frame, known after the first show, fits the screen.
    std::optional<X11Probe::Window> main;
    const auto settled = [&] {
        return main && main->x <= 2 && main->width > 300 &&
               main->y + main->height <= probe.rootHeight();
    };
    for (int i = 0; i < 100 && !settled(); ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        if (const auto seen = probe.waitForWindow("Tavrin", 100))
            main = seen;
    }
    ASSERT_TRUE(settled()) << "182 of Qt's pixels are twice as many of the screen's";

    QtUiLoop uiLoop;
    WindowPlacement placement(*windows, uiLoop, clock);
    ScriptedShellOpener opener;
    ScriptedFolderPicker picker;
    ShellServices shell{opener, picker, uiLoop};
    OpenPolicy policy(shell, &placement, nullptr);
    QtWindowHost host(window);
    policy.attachHost(host);
    policy.prepareForStart();
    placement.placeWindow(0);
    auto program = startXmessage(x, "BesideTheWindow");
    placement.placeWindow(1);
    ASSERT_NE(placement.lastPlaced(), 0u);

    // Right of the main window's frame, the one column they share aside (one of Qt's
    // pixels, as at 100 %), to the screen's right edge less the placed window's frame.
    const int mainRight = main->x + main->width;
    const ScreenRect area{mainRight - 2, 0, probe.rootWidth() - mainRight + 2, probe.rootHeight()};
    const auto shown = waitFilling(probe, "BesideTheWindow", area);
    ASSERT_TRUE(shown);
    EXPECT_GE(shown->x, mainRight - 2)
        << "not over the main window: " << shown->x << "," << shown->y << " " << shown->width << "x"
        << shown->height << ", main window's right " << mainRight;
    EXPECT_LE(shown->x + shown->width, probe.rootWidth());
    EXPECT_GT(shown->width, area.width - 40) << "as wide as the area, not half of it";
    EXPECT_GT(shown->height, area.height - 60);
}

} // namespace
