#pragma once

#include <functional>
#include <string>

// The program's own window for finding files by name, for desktops without a search
// tool of their own. The search runs without blocking the user interface.
class FindWindow {
  public:
    using OpenHandler = std::function<void(const std::string& path)>;

    virtual ~FindWindow() = default;
    // What a double-click on a result does with the result's full path.
    virtual void setOpenHandler(OpenHandler handler) = 0;
    // Shows the window with `folder` as the place to search.
    virtual void show(const std::string& folder) = 0;
    virtual bool isShown() const = 0;
    // Raises the shown window and gives it the input focus.
    virtual void bringForward() = 0;
};
