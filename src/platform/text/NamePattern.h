#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// A file-name pattern as the find window takes it: "*" stands for any run of characters,
// "?" for exactly one, everything else for itself without regard to letter case. A
// pattern without "*" or "?" finds every name that contains it; an empty one finds all.
// Names are byte strings: a byte that is not UTF-8 counts as one character of its own.
class NamePattern {
  public:
    explicit NamePattern(std::string_view pattern);
    bool matches(std::string_view name) const;

  private:
    // One character of a folded text: its code point, or a value past the Unicode range
    // for a byte that is not UTF-8.
    using Unit = std::uint32_t;
    static std::vector<Unit> units(std::string_view text);

    std::vector<Unit> pattern_;
};
