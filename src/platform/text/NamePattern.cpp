#include "platform/text/NamePattern.h"

#include "platform/text/TextCase.h"
#include "platform/text/Utf8.h"

#include <string>

namespace {

constexpr std::uint32_t kAnyRun = '*';
constexpr std::uint32_t kAnyOne = '?';
constexpr std::uint32_t kRawByte = 0x110000;

bool hasWildcard(std::string_view pattern) {
    return pattern.find_first_of("*?") != std::string_view::npos;
}

} // namespace

NamePattern::NamePattern(std::string_view pattern) {
    const std::string whole =
        hasWildcard(pattern) ? std::string(pattern) : "*" + std::string(pattern) + "*";
    pattern_ = units(TextCase::fold(whole));
}

std::vector<NamePattern::Unit> NamePattern::units(std::string_view text) {
    std::vector<Unit> out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const Utf8::Step step = Utf8::decode(text, i);
        out.push_back(step.wellFormed ? static_cast<Unit>(step.codePoint)
                                      : kRawByte + static_cast<unsigned char>(text[i]));
        i += step.length;
    }
    return out;
}

// Greedy matching that returns to the last "*" on a mismatch: linear in practice and
// never exponential, whatever the pattern.
bool NamePattern::matches(std::string_view name) const {
    const std::vector<Unit> text = units(TextCase::fold(name));
    std::size_t p = 0, t = 0;
    std::size_t starP = std::string::npos, starT = 0;
    while (t < text.size()) {
        if (p < pattern_.size() && pattern_[p] == kAnyRun) {
            starP = p++;
            starT = t;
        } else if (p < pattern_.size() && (pattern_[p] == kAnyOne || pattern_[p] == text[t])) {
            ++p;
            ++t;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern_.size() && pattern_[p] == kAnyRun)
        ++p;
    return p == pattern_.size();
}
