#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Text forms of the typed values of the settings file, with the conversions the stored
// files rely on.
class ValueText {
public:
    // The numeric part at the start of the text: blanks, tabs and line feeds are ignored
    // wherever they stand, reading stops at the first character that cannot continue the
    // number, "&H" and "&O" (or "&" alone) read hexadecimal and octal, no number reads 0.
    static double toNumber(std::string_view text);
    // "True"/"False" in any case, or a number (0 false, other true); nullopt otherwise.
    static std::optional<bool> toBoolean(std::string_view text);
    // Plain decimal text, "-" for negatives, "." as the decimal point; integers without
    // a fraction.
    static std::string fromNumber(double value);
    static std::string fromBoolean(bool value) { return value ? "True" : "False"; }
    // Nearest whole number, halves to even.
    static std::int64_t roundHalfEven(double value);
};
