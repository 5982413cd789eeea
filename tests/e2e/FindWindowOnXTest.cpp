#include "opening/FindFiles.h"
#include "opening/WindowPlacement.h"
#include "platform/ProgramStarter.h"
#include "platform/process/SteadyWaitClock.h"
#include "platform/qt/QtFindWindow.h"
#include "platform/qt/QtUiLoop.h"
#include "platform/x11/XcbWindowList.h"
#include "support/EnvVar.h"
#include "support/X11Probe.h"
#include "support/XvfbServer.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {

// A desktop without a search tool of its own.
class NoProgramStarter : public ProgramStarter {
  public:
    bool start(const std::vector<std::string>&) override { return false; }
};

TEST(FindWindowOnXTest, TheOwnFindWindowIsPlacedInTheRectangleThroughTheApplicationsConnection) {
    XvfbServer x(1024, 768, XvfbServer::WindowManager::Openbox);
    ASSERT_TRUE(x.ok());
    EnvVar display("DISPLAY", x.display());
    EnvVar platform("QT_QPA_PLATFORM", "xcb");
    int argc = 1;
    char name[] = "tavrin_e2e_tests";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);

    const auto windows = XcbWindowList::forApplication();
    ASSERT_TRUE(windows->connected());
    for (int i = 0; i < 300 && !windows->windowManagerRuns(); ++i)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    ASSERT_TRUE(windows->windowManagerRuns());
    QtUiLoop loop;
    SteadyWaitClock clock;
    WindowPlacement placement(*windows, loop, clock);
    const ScreenRect rect{250, 20, 700, 500};
    placement.setPlacement(rect);
    NoProgramStarter starter;
    QtFindWindow findWindow;
    std::vector<std::string> opened;
    FindFiles findFiles(starter, findWindow, placement, "/",
                        [&](const std::string& path) { opened.push_back(path); });

    findFiles.findFiles();
    ASSERT_TRUE(findWindow.isShown());
    EXPECT_EQ(placement.lastPlaced(), findWindow.winId());

    X11Probe probe(x.display());
    std::optional<X11Probe::Window> seen;
    for (int i = 0; i < 100; ++i) {
        QApplication::processEvents();
        seen.reset();
        for (const auto& w : probe.windows())
            if (w.id == findWindow.winId())
                seen = w;
        if (seen && seen->x >= rect.left && seen->y >= rect.top &&
            seen->x + seen->width <= rect.left + rect.width &&
            seen->y + seen->height <= rect.top + rect.height && seen->width > rect.width - 40)
            break;
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    ASSERT_TRUE(seen);
    EXPECT_GE(seen->x, rect.left);
    EXPECT_GE(seen->y, rect.top);
    EXPECT_LE(seen->x + seen->width, rect.left + rect.width);
    EXPECT_LE(seen->y + seen->height, rect.top + rect.height);
    EXPECT_GT(seen->width, rect.width - 40);
    findWindow.close();
}

} // namespace
