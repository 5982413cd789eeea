#pragma once

#include "platform/desktop/SystemFolders.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class FolderPicker;
class PlacementSteps;
class ShellOpener;
class UiLoop;

// Shell services of the program: the folder chooser, system folder paths, opening and
// exploring through the desktop, shortcut targets and the send-to items. The services
// reach the desktop only through the interfaces handed in; the placement steps around a
// program start may be missing (null), then nothing is placed.
//
// The file-system service is part of the program itself on Linux, so fileSystemMissing never has
// anything to report.
class ShellServices {
  public:
    static constexpr std::string_view kDefaultPickerTitle = "ﾌｫﾙﾀﾞの指定";

    ShellServices(ShellOpener& opener, FolderPicker& picker, UiLoop& loop,
                  PlacementSteps* placement = nullptr);

    // True when the file-system service is not available; never the case here.
    static bool fileSystemMissing() { return false; }
    // The owner window of pickers and shell calls (the main window, once it is loaded); the
    // placement steps run only while there is one.
    void setOwnerWindow(std::uintptr_t window) { ownerWindow_ = window; }
    std::uintptr_t ownerWindow() const { return ownerWindow_; }

    void setPlacement(PlacementSteps* placement) { placement_ = placement; }

    // The folder chosen in the chooser, "" when cancelled. An initial folder that does
    // not exist is dropped; an empty title becomes the default one; `root` is the number
    // of a system folder without a path that the chooser is rooted at (0: none).
    std::string chooseFolder(std::string_view folder, std::string_view title = {},
                             std::optional<SystemFolder> root = std::nullopt);
    // The path of a system folder by its number, without a trailing "/"; for a folder
    // without a path the chooser opens, rooted there ("" when cancelled).
    std::string systemFolderPath(SystemFolder folder);
    // Opens or explores a path through the desktop. True when something started.
    bool shellOpen(std::string_view path, bool explore);
    // Opens a document, program or folder; a shortcut (".lnk", ".url", any letter case) is
    // replaced by its target first. The placement steps run around a successful start
    // while the owner window is set. True when something started.
    bool openDocument(std::string_view path, bool explore);
    // The target of a shortcut file (".lnk": its target path; ".url": its address). The
    // path itself when it is no shortcut or cannot be read. A readable link that names no
    // file-system target gives "".
    static std::string shortcutTarget(std::string_view path);
    // Starts the target of the send-to item `name` (its file name without ".lnk" in the
    // send-to folder) with each path as one argument of its own. Only a target that is an
    // existing file is started. With `place`, the placement steps run around the start.
    // True when the target was started.
    bool runShortcut(std::string_view name, const std::vector<std::string>& paths, bool place);

  private:
    const std::string& sendToFolder();
    void placeBefore(bool place);
    void placeAfter(bool place, bool started);

    ShellOpener& opener_;
    FolderPicker& picker_;
    UiLoop& loop_;
    PlacementSteps* placement_;
    std::optional<std::string> sendTo_;
    std::uintptr_t ownerWindow_ = 0;
};
