#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

// The program's ANSI code page, CP932 (Shift-JIS), through iconv.
// Conversions never fail, and encode(decode(bytes)) gives the same bytes back, with one
// exception: CP932 has codes that stand for the same character twice (the NEC-selected
// IBM extensions ED40-EEFC and the IBM extensions FA40-FC4B; NEC row 13 and row 2 for
// "≒", "≡", "∵" and the like; "¬" three times), and such a character comes back as the
// one code Windows itself writes for it ("ed40" comes back "fa5c"), as it would after a
// save by the Windows program.
class AnsiCodec {
  public:
    // UTF-8 text to CP932 bytes. A code point CP932 cannot hold becomes "?"; bytes that
    // are not UTF-8 are copied as they are, and the byte escapes of decode (U+DC80 to
    // U+DCFF) become their bytes again.
    static std::string encode(std::string_view utf8);
    // CP932 bytes to UTF-8 text. Bytes that are not CP932 are copied as they are; where
    // copied bytes would together read as UTF-8 (and so come back as another text), they
    // are given as byte escapes instead: U+DC00 + the byte, as a lone surrogate.
    static std::string decode(std::string_view ansi);
    // True when the code point converts to CP932 and back to itself ("〜" U+301C does not:
    // it comes back as "～" U+FF5E).
    static bool roundTrips(char32_t codePoint);

  private:
    static std::string decodeByCharacter(std::string_view ansi);
    static std::unordered_map<char32_t, bool>& roundTripCache();
};
