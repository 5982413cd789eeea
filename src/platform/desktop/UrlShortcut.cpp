#include "platform/desktop/UrlShortcut.h"

#include "platform/text/AnsiCodec.h"
#include "platform/text/ByteReader.h"
#include "platform/fs/SmallFile.h"
#include "platform/text/Utf8.h"
#include "platform/text/WideText.h"

namespace {

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

bool equalAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// The text as UTF-8 whatever encoding the file was written in.
std::string asUtf8(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        return std::string(bytes.substr(3));
    if (bytes.substr(0, 2) == "\xFF\xFE") {
        ByteReader r(bytes.substr(2));
        return WideText::toBytes(*r.utf16(r.remaining() / 2));
    }
    return Utf8::isValid(bytes) ? std::string(bytes) : AnsiCodec::decode(bytes);
}

} // namespace

std::optional<std::string> UrlShortcut::parse(std::string_view text) {
    bool inSection = false;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = trim(text.substr(start, end - start));
        start = end + 1;
        if (!line.empty() && line.front() == '[') {
            inSection = line.back() == ']' &&
                        equalAscii(trim(line.substr(1, line.size() - 2)), "InternetShortcut");
            continue;
        }
        const auto eq = line.find('=');
        if (!inSection || eq == std::string_view::npos ||
            !equalAscii(trim(line.substr(0, eq)), "URL"))
            continue;
        const std::string_view value = trim(line.substr(eq + 1));
        if (!value.empty())
            return std::string(value);
    }
    return std::nullopt;
}

std::optional<std::string> UrlShortcut::read(std::string_view path) {
    const auto bytes = SmallFile::read(path, kMaxFileSize);
    if (!bytes)
        return std::nullopt;
    return parse(asUtf8(*bytes));
}
