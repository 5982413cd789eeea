#pragma once

#include "platform/Clipboard.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The clipboard forms of a list of files that the desktop's file managers exchange:
// "text/uri-list" (percent-encoded file URIs, CR LF), "x-special/gnome-copied-files"
// ("copy" or "cut", then one URI a line), "application/x-kde-cutselection" ("1" cut,
// "0" copy) and "text/plain" (the paths, one a line). Paths are byte strings; the URI
// forms carry any byte whole.
class FileListFormats {
  public:
    static constexpr std::string_view kUriList = "text/uri-list";
    static constexpr std::string_view kGnome = "x-special/gnome-copied-files";
    static constexpr std::string_view kKde = "application/x-kde-cutselection";
    static constexpr std::string_view kText = "text/plain";

    // Format name and content, for one set of clipboard data.
    using Formats = std::vector<std::pair<std::string_view, std::string>>;
    static Formats encode(const std::vector<std::string>& paths, ClipEffect effect);

    // The content of a format, nullopt when the clipboard does not offer it.
    using Reader = std::function<std::optional<std::string>(std::string_view format)>;
    // The paths come from the URI list, else from the GNOME form. A GNOME marker decides
    // the effect ("cut" moves, anything else copies); without one a KDE marker starting
    // with "1" moves; a bare list copies.
    static ClipboardFiles decode(const Reader& read);
};
