#include "platform/text/Utf8.h"

namespace {

bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

} // namespace

Utf8::Step Utf8::decode(std::string_view s, std::size_t pos) {
    const auto c0 = static_cast<unsigned char>(s[pos]);
    if (c0 < 0x80)
        return {c0, 1, true};
    std::size_t len = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if ((c0 & 0xE0) == 0xC0) {
        len = 2, cp = c0 & 0x1F, min = 0x80;
    } else if ((c0 & 0xF0) == 0xE0) {
        len = 3, cp = c0 & 0x0F, min = 0x800;
    } else if ((c0 & 0xF8) == 0xF0) {
        len = 4, cp = c0 & 0x07, min = 0x10000;
    } else {
        return {0, 1, false};
    }
    if (pos + len > s.size())
        return {0, 1, false};
    for (std::size_t i = 1; i < len; ++i) {
        const auto c = static_cast<unsigned char>(s[pos + i]);
        if (!isContinuation(c))
            return {0, 1, false};
        cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return {0, 1, false};
    return {cp, len, true};
}

void Utf8::append(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool Utf8::isValid(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const Step step = decode(s, i);
        if (!step.wellFormed)
            return false;
        i += step.length;
    }
    return true;
}

std::size_t Utf8::length(std::string_view s) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < s.size(); i += decode(s, i).length)
        ++n;
    return n;
}

std::size_t Utf8::advance(std::string_view s, std::size_t pos, std::size_t count) {
    while (count-- > 0 && pos < s.size())
        pos += decode(s, pos).length;
    return pos < s.size() ? pos : s.size();
}

std::size_t Utf8::retreat(std::string_view s, std::size_t pos, std::size_t count) {
    while (count-- > 0 && pos > 0) {
        std::size_t start = pos - 1;
        // Walk back over continuation bytes, at most three, to a sequence that ends at pos.
        while (start > 0 && pos - start < 4 && isContinuation(static_cast<unsigned char>(s[start])))
            --start;
        const Step step = decode(s, start);
        pos = (step.wellFormed && start + step.length == pos) ? start : pos - 1;
    }
    return pos;
}
