#pragma once

#include "platform/IconTheme.h"

#include <string>
#include <unordered_map>

// Icon names from the content type that QMimeDatabase finds by file name alone, cached
// per extension so a large folder costs one lookup per distinct extension.
class QtIconTheme : public IconTheme {
  public:
    // Chooses the "Adwaita" theme when the desktop names none. Needs a QGuiApplication.
    static void ensureThemeName();

    std::string iconNameFor(const std::string& path, bool isFolder) override;
    // How many times the content-type database was asked.
    int lookups() const { return lookups_; }

  private:
    std::string lookUp(const std::string& fileName);

    std::unordered_map<std::string, std::string> byExtension_;
    int lookups_ = 0;
};
