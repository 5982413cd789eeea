#pragma once

#include <string>
#include <string_view>

// Conversion between the program's byte strings (UTF-8 expected, any bytes allowed) and
// the UTF-16 text of Windows file formats.
//
// A byte that is not part of well-formed UTF-8 cannot be written as UTF-16, so it is
// carried as an unpaired low surrogate U+DC80..U+DCFF (the byte's value + U+DC00).
// Well-formed UTF-8 never holds a surrogate, so the mark cannot be confused with text and
// every byte string without NUL comes back exactly. Windows keeps such unpaired
// surrogates in file names as they are. Other unpaired surrogates found in a file read
// as U+FFFD.
class WideText {
  public:
    static std::u16string fromBytes(std::string_view bytes);
    static std::string toBytes(std::u16string_view text);
};
