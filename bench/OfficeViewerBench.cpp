// Measures how long a user waits for a word-processor document in the kept office viewer
// and against a fresh office started for the file alone: from the request to the
// document's window mapped on the screen (Xvfb with openbox). Not a test: run
// build/tavrin_office_bench [runs].
#include "platform/viewers/LibreOfficeViewer.h"
#include "platform/viewers/OfficeProcess.h"
#include "support/TempDir.h"
#include "support/X11Probe.h"
#include "support/XvfbServer.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr const char* kOfficeStarter = "/usr/lib/libreoffice/program/soffice";

struct Figure {
    double median = 0;
    double worst = 0;
};

Figure figureOf(std::vector<double> seconds) {
    std::sort(seconds.begin(), seconds.end());
    return Figure{seconds[seconds.size() / 2], seconds.back()};
}

// Seconds from now until a mapped window's title names the document; -1 on time-out.
double untilShown(X11Probe& probe, const std::string& name, Clock::time_point from) {
    const auto until = from + std::chrono::seconds(60);
    while (Clock::now() < until) {
        for (const X11Probe::Window& w : probe.windows())
            if (w.title.find(name) != std::string::npos)
                return std::chrono::duration<double>(Clock::now() - from).count();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return -1;
}

// The kept viewer: a start with the first document, then a second document reusing it.
std::pair<double, double> keptViewer(X11Probe& probe, const TempDir& work, int run) {
    LibreOfficeViewer viewer(OfficeKind::Writer, work / "kept-profile");
    const std::string first = "first" + std::to_string(run) + ".txt";
    const std::string second = "second" + std::to_string(run) + ".txt";
    // As the open policy shows a document: placed, restored, opened, shown.
    const auto show = [&](const std::string& name) {
        viewer.setBounds(240, 0, 724, 741);
        viewer.restore();
        viewer.open(work / name, false);
        viewer.show();
    };
    auto from = Clock::now();
    viewer.start();
    show(first);
    const double start = untilShown(probe, first, from);
    from = Clock::now();
    viewer.closeDocument();
    show(second);
    const double reuse = untilShown(probe, second, from);
    viewer.quit();
    return {start, reuse};
}

// The same file given to a new office of its own, as a file manager would start it.
double freshOffice(X11Probe& probe, const TempDir& work, int run) {
    const std::string name = "fresh" + std::to_string(run) + ".txt";
    OfficeProcess office;
    const auto from = Clock::now();
    office.start({kOfficeStarter, "--norestore",
                  "-env:UserInstallation=" + LibreOfficeViewer::fileUrl(work / "fresh-profile"),
                  work / name},
                 {});
    const double shown = untilShown(probe, name, from);
    // Asked to end, the office's starter reaps the office before it goes itself.
    ::kill(-office.pid(), SIGTERM);
    office.end(10000);
    return shown;
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    XvfbServer xvfb(1280, 1024, XvfbServer::WindowManager::Openbox);
    if (!xvfb.ok()) {
        std::fprintf(stderr, "no Xvfb\n");
        return 1;
    }
    setenv("DISPLAY", xvfb.display().c_str(), 1);
    X11Probe probe(xvfb.display());
    TempDir work;
    for (int run = -1; run < runs; ++run)
        for (const char* prefix : {"first", "second", "fresh"})
            work.write(prefix + std::to_string(run) + ".txt", "A document of one line.\n");
    // Run -1 sets up both profiles; it is not counted (the first start of a profile takes
    // seconds more).
    std::vector<double> starts, reuses, freshes;
    for (int run = -1; run < runs; ++run) {
        const auto [start, reuse] = keptViewer(probe, work, run);
        const double fresh = freshOffice(probe, work, run);
        if (start < 0 || reuse < 0 || fresh < 0) {
            std::fprintf(stderr, "a document did not show (run %d)\n", run);
            return 1;
        }
        if (run < 0)
            continue;
        starts.push_back(start);
        reuses.push_back(reuse);
        freshes.push_back(fresh);
    }
    const Figure start = figureOf(starts), reuse = figureOf(reuses), fresh = figureOf(freshes);
    std::printf("Writer document to its window, median (worst) of %d runs, warm profiles\n", runs);
    std::printf("%-44s %6.3f s (%.3f)\n", "kept viewer, first open (viewer start)", start.median,
                start.worst);
    std::printf("%-44s %6.3f s (%.3f)\n", "kept viewer, second open (reuse)", reuse.median,
                reuse.worst);
    std::printf("%-44s %6.3f s (%.3f)\n", "fresh soffice --norestore <file>", fresh.median,
                fresh.worst);
    std::printf("%-44s %6.1f (target >= 3)\n", "fresh / reuse", fresh.median / reuse.median);
    std::printf("%-44s %6.2f\n", "fresh / first open", fresh.median / start.median);
    return 0;
}
