#include "opening/HandOverRecord.h"

#include "platform/text/AnsiCodec.h"

#include <limits>

std::string HandOverRecord::bytes(std::int32_t left, std::int32_t top, std::int32_t width,
                                  std::int32_t height, std::string_view root,
                                  std::string_view path) {
    std::string out;
    for (std::int32_t value : {left, top, width, height})
        appendInt32(out, value);
    appendText(out, root);
    appendText(out, path);
    return out;
}

std::string HandOverRecord::ansiOrEmpty(std::string_view utf8) {
    std::string ansi = AnsiCodec::encode(utf8);
    if (AnsiCodec::decode(ansi) != utf8 || ansi.size() > std::numeric_limits<std::uint16_t>::max())
        return {};
    return ansi;
}

void HandOverRecord::appendInt32(std::string& out, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        out += static_cast<char>((bits >> shift) & 0xFF);
}

void HandOverRecord::appendText(std::string& out, std::string_view utf8) {
    const std::string ansi = ansiOrEmpty(utf8);
    const auto length = static_cast<std::uint16_t>(ansi.size());
    out += static_cast<char>(length & 0xFF);
    out += static_cast<char>(length >> 8);
    out += ansi;
}
