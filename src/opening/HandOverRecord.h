#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The record a started sibling tool reads from "TV_ACT.pdat": four signed 32-bit numbers
// (left, top, width, height), then the root folder and the active path, each as an
// unsigned 16-bit byte length followed by that many CP932 bytes. Little-endian, no
// header, no terminators.
//
// A text that cannot reach the tool whole is written as an empty text (length 0) rather
// than as a different path: one whose CP932 form does not read back as the same text
// (characters CP932 cannot hold, "〜" which comes back as "～", stray bytes that pair up
// into a CP932 character), and one longer than 65,535 bytes. The record stays well formed and the
// tool still gets its window area.
class HandOverRecord {
  public:
    static constexpr std::string_view kFileName = "TV_ACT.pdat";

    static std::string bytes(std::int32_t left, std::int32_t top, std::int32_t width,
                             std::int32_t height, std::string_view root, std::string_view path);
    // The CP932 form of a UTF-8 text when it converts back to the same text, else "".
    static std::string ansiOrEmpty(std::string_view utf8);

  private:
    static void appendInt32(std::string& out, std::int32_t value);
    static void appendText(std::string& out, std::string_view utf8);
};
