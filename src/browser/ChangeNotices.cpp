#include "browser/ChangeNotices.h"

#include "browser/TreeWatch.h"
#include "platform/FolderWatch.h"
#include "platform/UiLoop.h"

#include <algorithm>
#include <chrono>

ChangeNotices::ChangeNotices(BrowserState& state, FolderWatch& folders, UiLoop& loop, Timer& tick,
                             TreeWatch& watch)
    : state_(state), folders_(folders), tick_(tick), watch_(watch), window_(loop.newTimer()) {
    if (folders_.descriptor() >= 0)
        readable_ = loop.watchReadable(folders_.descriptor(), [this] { noticed(); });
}

void ChangeNotices::noticed() {
    // Read even when quiet, so the descriptor does not keep calling; and no more calls
    // while the window is open (a reconciliation lets pending events run).
    folders_.poll();
    if (window_)
        readable_->setEnabled(false);
    if (!silenced())
        reconcile();
    openWindow();
}

void ChangeNotices::openWindow() {
    if (window_)
        window_->start(windowMs_, [this] { windowEnded(); });
}

void ChangeNotices::windowEnded() {
    window_->stop();
    if (folders_.poll()) {
        if (!silenced())
            reconcile();
        openWindow();
    } else {
        readable_->setEnabled(true);
    }
}

void ChangeNotices::reconcile() {
    const auto start = std::chrono::steady_clock::now();
    watch_.reconcileShown();
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    windowMs_ = std::max(kWindowMs, static_cast<int>(4 * took.count()));
}
