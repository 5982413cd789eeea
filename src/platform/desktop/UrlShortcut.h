#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Internet shortcuts (".url"): INI text whose section [InternetShortcut] holds the
// address as URL=. Windows writes them in the ANSI code page; UTF-8 (with or without a
// byte-order mark) and UTF-16 with a byte-order mark are read as well.
class UrlShortcut {
  public:
    static constexpr std::size_t kMaxFileSize = 1 << 20;

    // The address in the text; nullopt when it has none.
    static std::optional<std::string> parse(std::string_view text);
    // The address in the file; nullopt when it cannot be read or has none.
    static std::optional<std::string> read(std::string_view path);
};
