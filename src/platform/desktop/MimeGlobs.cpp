#include "platform/desktop/MimeGlobs.h"

#include "platform/fs/SmallFile.h"
#include "platform/desktop/XdgDirs.h"

#include <algorithm>
#include <cstdlib>
#include <fnmatch.h>

namespace {

std::string asciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool hasWildcard(std::string_view glob) {
    return glob.find_first_of("*?[") != std::string_view::npos;
}

// The characters one element of a glob allows: a character, "?", "*" or a "[...]" class
// (ranges and "!" or "^" negation). `at` is the element's first character; `end` gets
// the position after it.
std::bitset<256> allowedBy(std::string_view glob, std::size_t at, std::size_t& end) {
    std::bitset<256> allowed;
    end = at + 1;
    if (glob[at] == '*' || glob[at] == '?')
        return allowed.set();
    if (glob[at] != '[') {
        allowed.set(static_cast<unsigned char>(glob[at]));
        return allowed;
    }
    std::size_t i = at + 1;
    const bool negated = i < glob.size() && (glob[i] == '!' || glob[i] == '^');
    if (negated)
        ++i;
    for (bool firstInClass = true; i < glob.size() && (firstInClass || glob[i] != ']');
         firstInClass = false) {
        unsigned from = static_cast<unsigned char>(glob[i]);
        unsigned to = from;
        if (i + 2 < glob.size() && glob[i + 1] == '-' && glob[i + 2] != ']') {
            to = static_cast<unsigned char>(glob[i + 2]);
            i += 2;
        }
        for (unsigned c = from; c <= to; ++c)
            allowed.set(c);
        ++i;
    }
    if (i >= glob.size())
        return allowed.set(); // an unclosed class: assume anything
    end = i + 1;
    return negated ? ~allowed : allowed;
}

std::vector<std::string> dataFolders() {
    std::vector<std::string> folders{XdgDirs::dataHome()};
    const char* dirs = std::getenv("XDG_DATA_DIRS");
    std::string_view rest = dirs && *dirs ? dirs : "/usr/local/share:/usr/share";
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        if (const auto part = rest.substr(0, colon); !part.empty())
            folders.emplace_back(part);
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    }
    return folders;
}

} // namespace

MimeGlobs MimeGlobs::ofDataFolders() {
    MimeGlobs globs;
    for (const std::string& folder : dataFolders())
        if (const auto text = SmallFile::read(folder + "/mime/globs2", 4 << 20))
            globs.add(*text);
    return globs;
}

void MimeGlobs::add(std::string_view globs2) {
    known_ = true;
    while (!globs2.empty()) {
        const auto end = globs2.find('\n');
        std::string_view line = globs2.substr(0, end);
        globs2 = end == std::string_view::npos ? std::string_view() : globs2.substr(end + 1);
        if (line.empty() || line.front() == '#')
            continue;
        // weight:type:glob[:flags]
        const auto first = line.find(':');
        const auto second = first == std::string_view::npos ? first : line.find(':', first + 1);
        if (second == std::string_view::npos)
            continue;
        const std::string_view glob =
            line.substr(second + 1, line.find(':', second + 1) - second - 1);
        if (glob.empty())
            continue;
        if (glob.size() > 2 && glob.substr(0, 2) == "*." && !hasWildcard(glob.substr(2))) {
            const auto dots = static_cast<std::size_t>(std::count(glob.begin(), glob.end(), '.'));
            maxDots_ = std::max(maxDots_, dots);
        } else if (!hasWildcard(glob)) {
            literals_.insert(asciiLower(glob));
            if (glob.size() < literalLengths_.size())
                literalLengths_.set(glob.size());
        } else {
            patterns_.push_back(compile(asciiLower(glob)));
        }
    }
}

MimeGlobs::Pattern MimeGlobs::compile(std::string glob) {
    Pattern pattern;
    std::size_t end = 0;
    pattern.first = allowedBy(glob, 0, end);
    // The last element: walk the elements, keeping the last one's start.
    std::size_t runStart = 0;
    for (std::size_t at = 0; at < glob.size(); at = end) {
        pattern.last = allowedBy(glob, at, end);
        const bool plain = end == at + 1 && !hasWildcard(glob.substr(at, 1));
        if (!plain) {
            if (at - runStart > pattern.run.size())
                pattern.run = glob.substr(runStart, at - runStart);
            runStart = end;
        }
    }
    if (glob.size() - runStart > pattern.run.size())
        pattern.run = glob.substr(runStart);
    pattern.glob = std::move(glob);
    return pattern;
}

bool MimeGlobs::mayMatch(const Pattern& pattern, std::string_view name) {
    return !name.empty() && pattern.first.test(static_cast<unsigned char>(name.front())) &&
           pattern.last.test(static_cast<unsigned char>(name.back())) &&
           name.find(pattern.run) != std::string_view::npos;
}

bool MimeGlobs::hasNameRule(std::string_view name) const {
    // Lower case in a buffer on the stack: this runs for every name listed.
    char buffer[256];
    std::string longName;
    char* lower = buffer;
    if (name.size() >= sizeof buffer) {
        longName.resize(name.size());
        lower = longName.data();
    }
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        lower[i] = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    lower[name.size()] = '\0';
    const std::string_view text(lower, name.size());
    if ((text.size() >= literalLengths_.size() || literalLengths_.test(text.size())) &&
        literals_.find(text) != literals_.end())
        return true;
    return std::any_of(patterns_.begin(), patterns_.end(), [&](const Pattern& pattern) {
        return mayMatch(pattern, text) && fnmatch(pattern.glob.c_str(), lower, 0) == 0;
    });
}

std::string_view MimeGlobs::extensionKey(std::string_view name) const {
    std::size_t from = name.size();
    for (std::size_t dots = 0; dots < maxDots_; ++dots) {
        const auto dot = from == 0 ? std::string_view::npos : name.rfind('.', from - 1);
        if (dot == std::string_view::npos)
            break;
        from = dot;
    }
    return name.substr(from);
}
