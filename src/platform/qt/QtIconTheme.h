#pragma once

#include "platform/IconTheme.h"

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

// Icon names from the content type that QMimeDatabase finds by file name alone, cached
// per extension so a large folder costs one lookup per distinct extension; a name that
// the database knows by a whole-name or pattern rule is looked up by itself.
class QtIconTheme : public IconTheme {
  public:
    // Chooses the "Adwaita" theme when the desktop names none. Needs a QGuiApplication.
    static void ensureThemeName();

    const std::string& iconNameFor(std::string_view path, bool isFolder) override;
    // How many times the content-type database was asked.
    int lookups() const { return lookups_; }

  private:
    std::string lookUp(const std::string& fileName);

    struct KeyHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view key) const {
            return std::hash<std::string_view>{}(key);
        }
    };
    std::unordered_map<std::string, std::string, KeyHash, std::equal_to<>> byExtension_;
    int lookups_ = 0;
};
