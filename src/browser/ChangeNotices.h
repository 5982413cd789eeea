#pragma once

#include "browser/BrowserState.h"
#include "platform/ReadableWatch.h"
#include "platform/Timer.h"

#include <ctime>
#include <memory>

class FolderWatch;
class TreeWatch;
class UiLoop;

// Shows a change of the shown folder as soon as the folder watch reports it: the first
// notice reconciles at once, the notices that follow are gathered for a window of at
// least 100 ms and reconciled once at its end. The window stretches to five times the
// processor time used since the last one (the reconciliation and the painting that
// followed it), so a folder that never stops changing costs about a sixth of the time. Whatever
// keeps the refresh tick quiet (the busy flag, the paused tick during a label edit) keeps this
// quiet too; the tick picks up what was left. Without a loop that watches descriptors nothing
// happens here and the tick alone serves.
class ChangeNotices {
  public:
    static constexpr int kWindowMs = 100;
    static constexpr int kWindowPerCpu = 5;

    ChangeNotices(BrowserState& state, FolderWatch& folders, UiLoop& loop, Timer& tick,
                  TreeWatch& watch);

  private:
    void noticed();
    void windowEnded();
    void openWindow();
    void adaptWindow();
    bool silenced() const { return state_.busy || !tick_.running(); }

    BrowserState& state_;
    FolderWatch& folders_;
    Timer& tick_;
    TreeWatch& watch_;
    std::unique_ptr<Timer> window_;
    std::unique_ptr<ReadableWatch> readable_;
    int windowMs_ = kWindowMs;
    // Processor time at the last notice or window end.
    std::clock_t cpuMark_ = 0;
};
