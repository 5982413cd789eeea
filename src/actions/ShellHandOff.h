#pragma once

#include "platform/desktop/SystemFolders.h"

#include "actions/ActionServices.h"
#include "opening/PathOpener.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A folder of the system-folder menu: a system folder, or the program family's own
// folder inside the application data.
struct SystemFolderChoice {
    SystemFolder folder;
    bool familyFolder = false;
};

// Hands paths over to the opener (open, explore) or to the desktop (send to, find), always
// telling the opener first so that it can place the window that opens.
class ShellHandOff {
  public:
    enum class Mode { Explore = 0, Open = 1, SendTo = 2, Find = 3 };

    using Record = std::function<void(const std::string& path)>;

    ShellHandOff(PathOpener& opener, Record record) : opener_(opener), record_(std::move(record)) {}

    void setServices(const ActionServices* services) { services_ = services; }

    // Explore or open: each path on its own; send to: every path one argument of the
    // target `link`, then each path recorded in the recent lists; find: the find window.
    void runPaths(const std::vector<std::string>& paths, std::string_view link, Mode mode);
    // Explores the folder; one that has no path asks for it (a cancelled choice opens nothing).
    void exploreSystemFolder(SystemFolderChoice choice);

  private:
    PathOpener& opener_;
    Record record_;
    const ActionServices* services_ = nullptr;
};
