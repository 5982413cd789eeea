#include "platform/qt/TerminationWatcher.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

} // namespace

TerminationWatcher::TerminationWatcher(std::function<void()> onTerminate)
    : onTerminate_(std::move(onTerminate)) {
    if (pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        notifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, &TerminationWatcher::readPipe);
        struct sigaction action {};
        action.sa_handler = &TerminationWatcher::handleSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (int sig : {SIGTERM, SIGINT, SIGHUP})
            sigaction(sig, &action, nullptr);
    }
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(
            app, &QGuiApplication::commitDataRequest, this,
            [this](QSessionManager&) { onTerminate_(); }, Qt::DirectConnection);
    }
}

TerminationWatcher::~TerminationWatcher() {
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        std::signal(sig, SIG_DFL);
}

void TerminationWatcher::handleSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto n = write(signalPipe[1], &byte, 1);
}

void TerminationWatcher::readPipe() {
    char buffer[64];
    while (read(signalPipe[0], buffer, sizeof buffer) > 0) {
    }
    onTerminate_();
}
