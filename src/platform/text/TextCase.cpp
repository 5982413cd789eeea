#include "platform/text/TextCase.h"

#include "platform/text/Utf8.h"

#include <unicode/uchar.h>

namespace {

template <typename Map> std::string mapCodePoints(std::string_view s, Map map) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const Utf8::Step step = Utf8::decode(s, i);
        if (step.wellFormed)
            Utf8::append(out, static_cast<char32_t>(map(static_cast<UChar32>(step.codePoint))));
        else
            out += s[i];
        i += step.length;
    }
    return out;
}

bool isAscii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

} // namespace

std::string TextCase::fold(std::string_view s) {
    if (isAscii(s)) {
        std::string out(s);
        for (char& c : out)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        return out;
    }
    return mapCodePoints(s, [](UChar32 c) { return u_foldCase(c, U_FOLD_CASE_DEFAULT); });
}

std::string TextCase::lower(std::string_view s) {
    if (isAscii(s))
        return fold(s);
    return mapCodePoints(s, [](UChar32 c) { return u_tolower(c); });
}

std::string TextCase::upper(std::string_view s) {
    if (isAscii(s)) {
        std::string out(s);
        for (char& c : out)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
        return out;
    }
    return mapCodePoints(s, [](UChar32 c) { return u_toupper(c); });
}

bool TextCase::equal(std::string_view a, std::string_view b) {
    return fold(a) == fold(b);
}

int TextCase::compare(std::string_view a, std::string_view b) {
    const int folded = upper(a).compare(upper(b));
    if (folded != 0)
        return folded;
    return a.compare(b);
}

std::size_t TextCase::find(std::string_view hay, std::string_view needle, std::size_t from) {
    // Simple folding keeps most lengths; where it changes one, fall back to a scan that
    // compares each candidate start so the position refers to the original text.
    const std::string h = fold(hay);
    const std::string n = fold(needle);
    if (h.size() == hay.size()) {
        return from > h.size() ? std::string_view::npos : h.find(n, from);
    }
    for (std::size_t i = from; i < hay.size(); i += Utf8::decode(hay, i).length) {
        const std::string rest = fold(hay.substr(i));
        if (rest.compare(0, n.size(), n) == 0)
            return i;
    }
    return std::string_view::npos;
}
