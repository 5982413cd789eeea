#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>

// Turns SIGTERM, SIGINT and SIGHUP, and the end of the desktop session, into one call
// on the user-interface thread, so the program ends as its close box ends it, but
// without a question, since whoever sent it will not wait for an answer.
// The signal handler only writes a byte to a pipe; the notifier reads it in the loop.
class TerminationWatcher : public QObject {
    Q_OBJECT

  public:
    explicit TerminationWatcher(std::function<void()> onTerminate);
    ~TerminationWatcher() override;

  private:
    static void handleSignal(int signal);
    void readPipe();

    std::function<void()> onTerminate_;
    QSocketNotifier* notifier_ = nullptr;
};
