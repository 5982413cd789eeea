#pragma once

#include "platform/IconTheme.h"

#include <string>

// Icon names by extension only, like the desktop theme's content types.
class FakeIconTheme : public IconTheme {
  public:
    std::string iconNameFor(const std::string& path, bool isFolder) override {
        ++lookups;
        if (isFolder)
            return "folder";
        const auto dot = path.rfind('.');
        const auto slash = path.rfind('/');
        if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
            return "text-x-generic";
        return "type-" + path.substr(dot + 1);
    }
    int lookups = 0;
};
