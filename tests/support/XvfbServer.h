#pragma once

#include <memory>
#include <string>

class ChildProcess;

// A private Xvfb server for one test (display number chosen by the server itself),
// optionally with the openbox window manager.
class XvfbServer {
  public:
    enum class WindowManager { None, Openbox };

    XvfbServer(int width, int height, WindowManager wm = WindowManager::None);
    ~XvfbServer();

    bool ok() const { return !display_.empty(); }
    const std::string& display() const { return display_; } // ":N"

  private:
    std::unique_ptr<ChildProcess> server_;
    std::unique_ptr<ChildProcess> wm_;
    std::string display_;
};
