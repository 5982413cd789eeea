#include "Program.h"
#include "platform/process/HeapPolicy.h"

#include <QApplication>
#include <cstdio>

namespace {

// The program places its own window and those of the programs it starts, which needs
// X11 (under Wayland through XWayland).
bool chooseX11() {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return true;
    qputenv("QT_QPA_PLATFORM", "xcb");
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "tavrin: no X display (DISPLAY is not set); "
                             "start it on a virtual one with: xvfb-run -a build/tavrin\n");
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (!chooseX11())
        return 1;
    HeapPolicy::returnLargeBlocks();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavrin"));
    QApplication::setQuitOnLastWindowClosed(false);
    QtIconTheme::ensureThemeName();
    Program program;
    return program.run();
}
