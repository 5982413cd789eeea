#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

class FindWindow;
class PlacementSteps;
class ProgramStarter;

// The find-files service: the desktop's own search tool when one is installed, else the
// program's own find window. The window that opens is placed like that of any started
// program (placement steps 0 and 1 around the start).
class FindFiles {
  public:
    // Search tools of the desktops, tried in this order; each is started without
    // arguments, as the user would from the desktop's menu.
    static constexpr std::array<std::string_view, 6> kDesktopTools{
        "catfish", "fsearch", "kfind", "mate-search-tool", "gnome-search-tool", "searchmonkey"};

    using OpenDocument = std::function<void(const std::string& path)>;

    // The own window searches `startFolder` first; a result chosen in it goes to `open`.
    FindFiles(ProgramStarter& starter, FindWindow& ownWindow, PlacementSteps& placement,
              std::string startFolder, OpenDocument open);

    // Opens a search window. The own window, once open, is brought forward instead of
    // opening again, and is not placed a second time.
    void findFiles();

  private:
    bool startDesktopTool();

    ProgramStarter& starter_;
    FindWindow& ownWindow_;
    PlacementSteps& placement_;
    std::string startFolder_;
};
