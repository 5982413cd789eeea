#include "browser/ChangeNotices.h"

#include "browser/TreeWatch.h"
#include "platform/fs/FolderWatch.h"
#include "platform/UiLoop.h"

#include <algorithm>

ChangeNotices::ChangeNotices(BrowserState& state, FolderWatch& folders, UiLoop& loop, Timer& tick,
                             TreeWatch& watch)
    : state_(state), folders_(folders), tick_(tick), watch_(watch), window_(loop.newTimer()) {
    if (folders_.descriptor() >= 0)
        readable_ = loop.watchReadable(folders_.descriptor(), [this] { noticed(); });
    // While a window gathers notices, its end reconciles: the tick need not.
    watch_.setPanesCovered([this] { return window_ && window_->running(); });
}

void ChangeNotices::noticed() {
    // Read even when quiet, so the descriptor does not keep calling; and no more calls
    // while the window is open (a reconciliation lets pending events run).
    folders_.poll();
    cpuMark_ = std::clock();
    if (window_)
        readable_->setEnabled(false);
    if (!silenced())
        watch_.reconcileShown();
    openWindow();
}

void ChangeNotices::openWindow() {
    if (window_)
        window_->start(windowMs_, [this] { windowEnded(); });
}

void ChangeNotices::windowEnded() {
    window_->stop();
    adaptWindow();
    if (folders_.poll()) {
        if (!silenced())
            watch_.reconcileShown();
        openWindow();
    } else {
        readable_->setEnabled(true);
    }
}

// Everything the process did since the last notice or window end (reconciliations,
// the painting that followed them, ticks) sets the next window. The window is kept for
// later notices, so a folder that changes just after every window is bounded too.
void ChangeNotices::adaptWindow() {
    const std::clock_t now = std::clock();
    const double used = static_cast<double>(now - cpuMark_) / CLOCKS_PER_SEC;
    windowMs_ = std::max(kWindowMs, static_cast<int>(1000 * kWindowPerCpu * used));
    cpuMark_ = now;
}
