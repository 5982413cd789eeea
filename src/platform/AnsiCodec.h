#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

// The program's ANSI code page, CP932 (Shift-JIS), through iconv.
// Conversions never fail: bytes that do not convert travel through unchanged, so reading
// a file and writing it back gives the same bytes.
class AnsiCodec {
  public:
    // UTF-8 text to CP932 bytes. A code point CP932 cannot hold becomes "?";
    // bytes that are not UTF-8 are copied as they are.
    static std::string encode(std::string_view utf8);
    // CP932 bytes to UTF-8 text; bytes that are not CP932 are copied as they are.
    static std::string decode(std::string_view ansi);
    // True when the code point converts to CP932 and back to itself ("〜" U+301C does not:
    // it comes back as "～" U+FF5E).
    static bool roundTrips(char32_t codePoint);

  private:
    static std::unordered_map<char32_t, bool>& roundTripCache();
};
