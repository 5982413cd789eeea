#include "opening/FindFiles.h"

#include "opening/PlacementSteps.h"
#include "platform/FindWindow.h"
#include "platform/ProgramStarter.h"

#include <utility>

FindFiles::FindFiles(ProgramStarter& starter, FindWindow& ownWindow, PlacementSteps& placement,
                     std::string startFolder, OpenDocument open)
    : starter_(starter), ownWindow_(ownWindow), placement_(placement),
      startFolder_(std::move(startFolder)) {
    ownWindow_.setOpenHandler(std::move(open));
}

void FindFiles::findFiles() {
    if (ownWindow_.isShown()) {
        ownWindow_.bringForward();
        return;
    }
    placement_.placeWindow(0);
    if (!startDesktopTool())
        ownWindow_.show(startFolder_);
    placement_.placeWindow(1);
}

bool FindFiles::startDesktopTool() {
    for (const std::string_view tool : kDesktopTools)
        if (starter_.start({std::string(tool)}))
            return true;
    return false;
}
