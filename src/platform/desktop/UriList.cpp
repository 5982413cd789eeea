#include "platform/desktop/UriList.h"

#include <cctype>

namespace {

// ASCII letters and digits by value: isalnum() would follow the locale and, in a
// single-byte one, keep bytes above 127 unencoded.
bool keptAsIs(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '/';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::string percentDecode(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int high = text[i] == '%' && i + 2 < text.size() ? hexValue(text[i + 1]) : -1;
        const int low = high >= 0 ? hexValue(text[i + 2]) : -1;
        if (low >= 0) {
            out += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

std::string UriList::fileUri(std::string_view path) {
    static const char digits[] = "0123456789ABCDEF";
    std::string uri = "file://";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (keptAsIs(byte)) {
            uri += c;
        } else {
            uri += '%';
            uri += digits[byte >> 4];
            uri += digits[byte & 0x0F];
        }
    }
    return uri;
}

std::string UriList::encode(const std::vector<std::string>& paths) {
    std::string list;
    for (const std::string& path : paths) {
        list += fileUri(path);
        list += "\r\n";
    }
    return list;
}

std::string UriList::pathOf(std::string_view uri) {
    constexpr std::string_view scheme = "file:";
    if (uri.size() < scheme.size()) {
        return {};
    }
    for (std::size_t i = 0; i < scheme.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(uri[i])) != scheme[i]) {
            return {};
        }
    }
    std::string_view rest = uri.substr(scheme.size());
    if (rest.starts_with("//")) {
        rest.remove_prefix(2);
        const std::size_t slash = rest.find('/');
        const std::string_view host = rest.substr(0, slash);
        if (slash == std::string_view::npos || (!host.empty() && host != "localhost")) {
            return {};
        }
        rest.remove_prefix(slash);
    }
    if (!rest.starts_with('/')) {
        return {};
    }
    return percentDecode(rest);
}

std::vector<std::string> UriList::decode(std::string_view list) {
    std::vector<std::string> paths;
    std::size_t pos = 0;
    while (pos < list.size()) {
        std::size_t end = list.find('\n', pos);
        if (end == std::string_view::npos) {
            end = list.size();
        }
        std::string_view line = list.substr(pos, end - pos);
        pos = end + 1;
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (line.empty() || line.starts_with('#')) {
            continue;
        }
        std::string path = pathOf(line);
        if (!path.empty()) {
            paths.push_back(std::move(path));
        }
    }
    return paths;
}
