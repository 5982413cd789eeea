#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A calendar date and time of day, as stored in the settings.
struct DateTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool operator==(const DateTime&) const = default;
};

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
    // "yyyy/mm/dd hh:nn:ss", the Japanese short date and time.
    static std::string fromDate(const DateTime& value);
    // A date "yyyy/mm/dd" (or with "-"), optionally followed by "h:nn" or "h:nn:ss";
    // nullopt for anything else or an impossible date.
    static std::optional<DateTime> toDate(std::string_view text);
    // Nearest whole number, halves to even; a value beyond the range gives the range's
    // nearest end, NaN gives 0 (stored numbers can be anything).
    static std::int64_t roundHalfEven(double value);
    // The same, within the range of int (pixel sizes).
    static int roundToInt(double value);
};
