#include "settings/SettingsEscape.h"

#include "platform/text/AnsiCodec.h"
#include "platform/text/Utf8.h"

#include <cctype>
#include <cstdio>
#include <optional>

namespace {

constexpr char32_t kByteEscapeBase = 0xDC00;
// The line-break marker of the file's own templates: a raw one in a value would become a
// line break when its key is first written.
constexpr char32_t kLineBreakMarker = U'\u2021';

void appendReference(std::string& out, char32_t codePoint) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "&#x%X;", static_cast<unsigned>(codePoint));
    out += buffer;
}

// Value of "&#xHHHH;" at pos with the given length.
char32_t referencedCodePoint(std::string_view text, std::size_t pos, std::size_t len) {
    char32_t cp = 0;
    for (std::size_t i = pos + 3; i < pos + len - 1; ++i) {
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
        cp = cp * 16 + static_cast<char32_t>(c <= '9' ? c - '0' : c - 'A' + 10);
    }
    return cp;
}

// A byte the file held that is not CP932, as the reader passes it on: the lone surrogate
// U+DC80..U+DCFF in UTF-8 form.
std::optional<char> byteEscapeAt(std::string_view text, std::size_t pos) {
    if (pos + 2 >= text.size() || text[pos] != '\xED' ||
        (text[pos + 1] != '\xB2' && text[pos + 1] != '\xB3') ||
        (static_cast<unsigned char>(text[pos + 2]) & 0xC0) != 0x80)
        return std::nullopt;
    return static_cast<char>(0x80 | ((text[pos + 1] & 1) << 6) | (text[pos + 2] & 0x3F));
}

} // namespace

std::size_t SettingsEscape::referenceLength(std::string_view text, std::size_t pos) {
    const std::string_view rest = text.substr(pos);
    for (std::string_view named : {"&lt;", "&gt;", "&amp;"})
        if (rest.substr(0, named.size()) == named)
            return named.size();
    if (rest.substr(0, 3) != "&#x")
        return 0;
    std::size_t i = 3;
    while (i < rest.size() && i < 10 && std::isxdigit(static_cast<unsigned char>(rest[i])))
        ++i;
    if (i == 3 || i >= rest.size() || rest[i] != ';')
        return 0;
    const char32_t cp = referencedCodePoint(text, pos, i + 1);
    return cp <= 0x10FFFF ? i + 1 : 0;
}

std::string SettingsEscape::escape(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size();) {
        const Utf8::Step step = Utf8::decode(value, i);
        if (!step.wellFormed) {
            appendReference(out, kByteEscapeBase + static_cast<unsigned char>(value[i]));
        } else if (step.codePoint == '<') {
            out += "&lt;";
        } else if (step.codePoint == '>') {
            out += "&gt;";
        } else if (step.codePoint == '&') {
            out += referenceLength(value, i) ? "&amp;" : "&";
        } else if (step.codePoint == kLineBreakMarker || !AnsiCodec::roundTrips(step.codePoint)) {
            appendReference(out, step.codePoint);
        } else {
            out.append(value.substr(i, step.length));
        }
        i += step.length;
    }
    return out;
}

std::string SettingsEscape::unescape(std::string_view text) {
    if (text.find_first_of("&\xED") == std::string_view::npos)
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (const auto byte = byteEscapeAt(text, i)) {
            out += *byte;
            i += 3;
            continue;
        }
        const std::size_t len = text[i] == '&' ? referenceLength(text, i) : 0;
        if (len == 0) {
            out += text[i++];
            continue;
        }
        const std::string_view ref = text.substr(i, len);
        if (ref == "&lt;") {
            out += '<';
        } else if (ref == "&gt;") {
            out += '>';
        } else if (ref == "&amp;") {
            out += '&';
        } else {
            const char32_t cp = referencedCodePoint(text, i, len);
            if (cp >= kByteEscapeBase + 0x80 && cp <= kByteEscapeBase + 0xFF)
                out += static_cast<char>(cp - kByteEscapeBase);
            else if (cp >= 0xD800 && cp <= 0xDFFF)
                out.append(ref); // not a character: keep the text as it stands
            else
                Utf8::append(out, cp);
        }
        i += len;
    }
    return out;
}
