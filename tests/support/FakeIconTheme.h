#pragma once

#include "platform/IconTheme.h"

#include <set>
#include <string>
#include <string_view>

// Icon names by extension only, like the desktop theme's content types.
class FakeIconTheme : public IconTheme {
  public:
    const std::string& iconNameFor(std::string_view path, bool isFolder) override {
        ++lookups;
        if (isFolder)
            return *names.insert("folder").first;
        const auto dot = path.rfind('.');
        const auto slash = path.rfind('/');
        if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
            return *names.insert("text-x-generic").first;
        return *names.insert("type-" + std::string(path.substr(dot + 1))).first;
    }
    int lookups = 0;
    std::set<std::string> names;
};
