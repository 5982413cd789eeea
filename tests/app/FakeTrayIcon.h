#pragma once

#include "platform/TrayIcon.h"

#include <string>

class FakeTrayIcon : public TrayIcon {
  public:
    void add(std::string_view t) override {
        tip = t;
        ++added;
    }
    void remove() override { ++removed; }
    bool available() const override { return hasTray; }

    std::string tip;
    int added = 0;
    int removed = 0;
    bool hasTray = true;
};
