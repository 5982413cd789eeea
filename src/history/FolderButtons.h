#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class FolderPicker;

// The submenus of the host's folders menu that the buttons pop up, by their index there.
enum class FolderSubmenu { RecentFolders = 2, RegisteredFolders = 3 };

// The three picture buttons above the tree: 0 chooses a folder in the picker, starting
// at the current root, and makes it the root; 1 pops up the recent folders; 2 pops up the
// registered folders (at the mouse position, the view's concern).
class FolderButtons {
  public:
    static constexpr std::string_view kPickerTitle = "ﾌｫﾙﾀﾞの指定";

    struct Hooks {
        std::function<std::string()> root;
        std::function<void(const std::string&)> setRoot;
        std::function<void(FolderSubmenu)> popUp;
    };

    FolderButtons(FolderPicker& picker, Hooks hooks);

    // A click on button `index`; other indexes do nothing. A cancelled picker leaves the
    // root as it is.
    void clicked(int index, std::uintptr_t owner = 0);

  private:
    void chooseRoot(std::uintptr_t owner);

    FolderPicker& picker_;
    Hooks hooks_;
};
