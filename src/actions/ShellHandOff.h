#pragma once

#include "actions/ActionServices.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Hands paths over to the host window (open, explore) or to the desktop (send to, find),
// always telling the host first so that it can place the window that opens.
class ShellHandOff {
  public:
    enum class Mode { Explore = 0, Open = 1, SendTo = 2, Find = 3 };

    using BeforeOpen = std::function<void()>;
    using OpenPath = std::function<void(std::string& pathToOpen, bool plainOpen, bool explore)>;
    using Record = std::function<void(const std::string& path)>;

    // The host's events are read at each call, so the host may set them later.
    ShellHandOff(const BeforeOpen& beforeOpen, const OpenPath& openPathRequested, Record record)
        : beforeOpen_(beforeOpen), openPathRequested_(openPathRequested), record_(std::move(record)) {}

    void setServices(const ActionServices* services) { services_ = services; }

    // Explore or open: each path on its own; send to: every path one argument of the
    // target `link`, then each path recorded in the recent lists; find: the find window.
    void runPaths(const std::vector<std::string>& paths, std::string_view link, Mode mode);
    // Explores the system folder behind item `index` of the host's system-folder menu.
    void openSystemFolder(int index);
    // The system-folder number of that item; -1 for separators and unknown items.
    static int systemFolderOf(int index);

  private:
    const BeforeOpen& beforeOpen_;
    const OpenPath& openPathRequested_;
    Record record_;
    const ActionServices* services_ = nullptr;
};
