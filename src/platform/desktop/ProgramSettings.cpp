#include "platform/desktop/ProgramSettings.h"

#include "platform/fs/FileSystem.h"
#include "platform/fs/SmallFile.h"
#include "platform/desktop/XdgDirs.h"

#include <cerrno>
#include <limits>
#include <optional>
#include <vector>

namespace {

std::string escape(std::string_view s, bool isKey) {
    std::string out;
    // A key line must never read as a section header ("[a" with the value "]").
    if (isKey && s.starts_with('[')) {
        out += "\\[";
        s.remove_prefix(1);
    }
    for (char c : s) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '=':
            out += isKey ? "\\e" : "=";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string unescape(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        const char c = s[++i];
        out += c == 'n' ? '\n' : c == 'r' ? '\r' : c == 'e' ? '=' : c;
    }
    return out;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

bool isSection(const std::string& line) {
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

// Index of the line holding the key in the section, or of the section header with
// `found` false, or nullopt when the section is absent.
std::optional<std::size_t> locate(const std::vector<std::string>& lines, std::string_view section,
                                  const std::string& escKey, bool& found) {
    found = false;
    const std::string header = "[" + std::string(section) + "]";
    std::optional<std::size_t> sectionAt;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (isSection(lines[i])) {
            if (sectionAt)
                break;
            if (lines[i] == header)
                sectionAt = i;
            continue;
        }
        if (sectionAt && lines[i].compare(0, escKey.size() + 1, escKey + "=") == 0) {
            found = true;
            return i;
        }
    }
    return sectionAt;
}

// The file's text; nullopt when it exists but cannot be read (or is no regular file), so
// it is never written over with what little this program knows.
std::optional<std::string> readFile(const std::string& file) {
    FileFault fault;
    auto text = SmallFile::read(file, std::numeric_limits<std::size_t>::max(), fault);
    if (!text && (fault.error == ENOENT || fault.error == ENOTDIR))
        return std::string();
    return text;
}

} // namespace

std::string ProgramSettings::fileOf(std::string_view application) {
    return XdgDirs::configHome() + "/" + std::string(application) + "/settings.ini";
}

std::string ProgramSettings::get(std::string_view application, std::string_view section,
                                 std::string_view key) {
    const auto text = readFile(fileOf(application));
    if (!text)
        return {};
    const auto lines = splitLines(*text);
    const std::string escKey = escape(key, true);
    bool found = false;
    const auto at = locate(lines, section, escKey, found);
    if (!found)
        return {};
    return unescape(std::string_view(lines[*at]).substr(escKey.size() + 1));
}

bool ProgramSettings::set(std::string_view application, std::string_view section,
                          std::string_view key, std::string_view value) {
    const std::string file = fileOf(application);
    const auto old = readFile(file);
    if (!old)
        return false;
    auto lines = splitLines(*old);
    const std::string escKey = escape(key, true);
    const std::string line = escKey + "=" + escape(value, false);
    bool found = false;
    const auto at = locate(lines, section, escKey, found);
    if (found) {
        lines[*at] = line;
    } else if (at) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*at) + 1, line);
    } else {
        lines.push_back("[" + std::string(section) + "]");
        lines.push_back(line);
    }
    std::string text;
    for (const auto& l : lines)
        text += l + "\n";
    const std::string folder = FileSystem::parentOf(file);
    if (!FileSystem::folderExists(folder) && !XdgDirs::makePath(folder))
        return false;
    return FileSystem::writeBytesAtomically(file, text);
}
