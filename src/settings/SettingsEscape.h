#pragma once

#include <string>
#include <string_view>

// How a value travels through the settings file without breaking its layout or losing
// characters, while files of the Windows program keep reading the same both ways:
//  - "<" and ">" are written as "&lt;" and "&gt;";
//  - "&" is written as "&amp;" only where it would otherwise read as one of these
//    references, so a plain "A&B" stays as it is;
//  - a character that CP932 cannot hold, or that does not come back unchanged from it
//    ("〜" U+301C and the like), is written as an XML character reference "&#xHHHH;";
//    so is "‡" (U+2021), which the file's templates use as their line-break marker;
//  - a byte that is not part of UTF-8 (Linux names may hold any byte) is written as
//    "&#xDCNN;", the lone-surrogate escape of byte NN, and reads back as that byte; so
//    does that escape in its raw form, as the CP932 reader gives bytes it cannot keep.
class SettingsEscape {
  public:
    static std::string escape(std::string_view value);
    static std::string unescape(std::string_view text);

  private:
    // Length of the reference at text[pos] (which holds "&"), 0 if none.
    static std::size_t referenceLength(std::string_view text, std::size_t pos);
};
