#include "platform/text/WideText.h"

#include "platform/text/Utf8.h"

namespace {

bool isHigh(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool isLow(char16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}
bool isEscapedByte(char16_t u) {
    return u >= 0xDC80 && u <= 0xDCFF;
}

void appendUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out += static_cast<char16_t>(cp);
        return;
    }
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (cp >> 10));
    out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
}

} // namespace

std::u16string WideText::fromBytes(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const Utf8::Step step = Utf8::decode(bytes, i);
        if (step.wellFormed)
            appendUtf16(out, step.codePoint);
        else
            out += static_cast<char16_t>(0xDC00 + static_cast<unsigned char>(bytes[i]));
        i += step.length;
    }
    return out;
}

std::string WideText::toBytes(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t u = text[i];
        if (isHigh(u) && i + 1 < text.size() && isLow(text[i + 1])) {
            Utf8::append(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (isEscapedByte(u)) {
            out += static_cast<char>(u - 0xDC00);
        } else if (isHigh(u) || isLow(u)) {
            Utf8::append(out, 0xFFFD);
        } else {
            Utf8::append(out, u);
        }
    }
    return out;
}
