#include "settings/ValueText.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

std::string withoutBlanks(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n')
            out += c;
    return out;
}

bool isDigitOf(char c, int base) {
    if (base == 16)
        return std::isxdigit(static_cast<unsigned char>(c)) != 0;
    return c >= '0' && c < '0' + base;
}

std::uint64_t digitValue(char c) {
    if (c >= '0' && c <= '9')
        return static_cast<std::uint64_t>(c - '0');
    return static_cast<std::uint64_t>(std::toupper(static_cast<unsigned char>(c)) - 'A' + 10);
}

// "&H" / "&O" literals keep their old integer widths: up to FFFF a 16-bit signed value,
// up to FFFFFFFF a 32-bit signed one.
double radixLiteral(std::string_view digits, int base) {
    std::uint64_t value = 0;
    std::size_t i = 0;
    for (; i < digits.size() && isDigitOf(digits[i], base); ++i) {
        value = value * static_cast<std::uint64_t>(base) + digitValue(digits[i]);
        if (value > 0xFFFFFFFFull)
            return static_cast<double>(value);
    }
    if (value <= 0xFFFF)
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

// Length of the longest prefix that is a decimal number with optional sign, fraction and
// exponent ("E" or "D").
std::size_t decimalPrefix(const std::string& s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    const std::size_t digitsFrom = i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
        ++i;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
            ++i;
    }
    if (i == digitsFrom || (i == digitsFrom + 1 && s[digitsFrom] == '.'))
        return 0;
    if (i < s.size() && std::strchr("eEdD", s[i])) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        if (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) {
            while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j])))
                ++j;
            i = j;
        }
    }
    return i;
}

} // namespace

double ValueText::toNumber(std::string_view text) {
    std::string s = withoutBlanks(text);
    if (s.size() >= 2 && s[0] == '&') {
        const char kind = static_cast<char>(std::toupper(static_cast<unsigned char>(s[1])));
        if (kind == 'H')
            return radixLiteral(std::string_view(s).substr(2), 16);
        if (kind == 'O')
            return radixLiteral(std::string_view(s).substr(2), 8);
        return radixLiteral(std::string_view(s).substr(1), 8);
    }
    const std::size_t n = decimalPrefix(s);
    if (n == 0)
        return 0;
    std::string number = s.substr(0, n);
    for (char& c : number)
        if (c == 'd' || c == 'D')
            c = 'e';
    return std::strtod(number.c_str(), nullptr);
}

std::optional<bool> ValueText::toBoolean(std::string_view text) {
    std::string s = withoutBlanks(text);
    std::string lower;
    for (char c : s)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "true")
        return true;
    if (lower == "false")
        return false;
    if (s.empty())
        return std::nullopt;
    if (s[0] == '&')
        return toNumber(s) != 0;
    if (decimalPrefix(s) != s.size())
        return std::nullopt;
    return toNumber(s) != 0;
}

std::string ValueText::fromNumber(double value) {
    if (value == 0)
        return "0";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::int64_t ValueText::roundHalfEven(double value) {
    // Converting a double outside the target's range is undefined: clamp first. 2^63 is
    // exactly representable, so the comparison is exact.
    constexpr double kLimit = 9223372036854775808.0;
    if (std::isnan(value))
        return 0;
    const double rounded = std::nearbyint(value);
    if (rounded >= kLimit)
        return std::numeric_limits<std::int64_t>::max();
    if (rounded < -kLimit)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(rounded);
}

int ValueText::roundToInt(double value) {
    const std::int64_t rounded = roundHalfEven(value);
    return static_cast<int>(std::clamp<std::int64_t>(rounded, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

std::string ValueText::fromDate(const DateTime& v) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d %02d:%02d:%02d", v.year, v.month, v.day,
                  v.hour, v.minute, v.second);
    return buffer;
}

std::optional<DateTime> ValueText::toDate(std::string_view text) {
    DateTime d;
    char sep1 = 0, sep2 = 0;
    int consumed = 0;
    const std::string s(text);
    if (std::sscanf(s.c_str(), "%d%c%d%c%d%n", &d.year, &sep1, &d.month, &sep2, &d.day,
                    &consumed) != 5 ||
        sep1 != sep2 || (sep1 != '/' && sep1 != '-'))
        return std::nullopt;
    std::string rest = s.substr(static_cast<std::size_t>(consumed));
    if (!rest.empty()) {
        int used = 0;
        if (std::sscanf(rest.c_str(), " %d:%d%n", &d.hour, &d.minute, &used) != 2)
            return std::nullopt;
        rest = rest.substr(static_cast<std::size_t>(used));
        if (!rest.empty() && (std::sscanf(rest.c_str(), ":%d%n", &d.second, &used) != 1 ||
                              static_cast<std::size_t>(used) != rest.size()))
            return std::nullopt;
    }
    static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (d.year % 4 == 0 && d.year % 100 != 0) || d.year % 400 == 0;
    if (d.month < 1 || d.month > 12 || d.day < 1 || d.day > kDays[d.month - 1] ||
        (d.month == 2 && d.day == 29 && !leap) || d.hour < 0 || d.hour > 23 || d.minute < 0 ||
        d.minute > 59 || d.second < 0 || d.second > 59)
        return std::nullopt;
    return d;
}
