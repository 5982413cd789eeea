#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// UTF-8 helpers for names that are byte strings: text is expected to be UTF-8, but any
// byte that does not start a well-formed sequence is kept and reported as such.
class Utf8 {
  public:
    struct Step {
        char32_t codePoint; // valid only when well-formed
        std::size_t length; // bytes consumed, at least 1
        bool wellFormed;
    };

    // Decodes the sequence starting at s[pos]; an ill-formed one consumes one byte.
    static Step decode(std::string_view s, std::size_t pos);
    static void append(std::string& out, char32_t codePoint);
    static bool isValid(std::string_view s);
    // Number of code points, an ill-formed byte counting as one.
    static std::size_t length(std::string_view s);
    // Byte offset after skipping `count` code points from `pos` (clamped to the end).
    static std::size_t advance(std::string_view s, std::size_t pos, std::size_t count);
    // Byte offset of the start of the code point `count` places before `pos`.
    static std::size_t retreat(std::string_view s, std::size_t pos, std::size_t count);
};
