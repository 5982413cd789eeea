#pragma once

#include "platform/MainWindowView.h"

#include <stdexcept>
#include <vector>

// A main window without a display: records what the logic asked of it.
class FakeMainWindow : public MainWindowView {
  public:
    PixelRect workArea() const override { return work; }
    double twipsPerPixelX() const override { return 15; }
    double twipsPerPixelY() const override { return 15; }
    PixelRect frameGeometry() const override {
        if (geometryFails)
            throw std::runtime_error("no geometry");
        return frame;
    }
    void setFrameGeometry(const PixelRect& rect) override { frame = rect; }
    std::uintptr_t handle() const override { return 0x1234; }
    void show() override { shown = true; }
    bool minimized() const override { return isMinimized; }
    void setShown(bool s) override { shown = s; }
    void minimize() override { isMinimized = true; }
    void restore() override { isMinimized = false; }
    void popupOpenMenu() override { ++popups; }
    void popupFolderMenu(int index) override { folderPopups.push_back(index); }
    void bringToFront() override { ++raised; }
    void closeAll() override { ++closed; }

    PixelRect work{0, 30, 1920, 1050};
    PixelRect frame{500, 500, 682, 766};
    bool geometryFails = false;
    bool shown = false;
    bool isMinimized = false;
    int popups = 0;
    std::vector<int> folderPopups;
    int raised = 0;
    int closed = 0;
};
