#include "platform/desktop/XdgDirs.h"

#include "platform/fs/FileSystem.h"
#include "platform/fs/SmallFile.h"

#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string envOr(const char* name, const std::string& fallback) {
    const char* v = std::getenv(name);
    return (v && *v == '/') ? std::string(v) : fallback;
}

// Reads the value of `var` from a user-dirs.dirs text: VAR="$HOME/dir" or VAR="/abs".
std::string valueIn(const std::string& text, const std::string& var) {
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string_view line(text.data() + start, end - start);
        start = end + 1;
        if (line.substr(0, var.size() + 1) != var + "=")
            continue;
        std::string_view value = line.substr(var.size() + 1);
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        std::string out;
        if (value.substr(0, 5) == "$HOME") {
            out = XdgDirs::home();
            value.remove_prefix(5);
        } else if (value.empty() || value.front() != '/') {
            continue;
        }
        for (std::size_t i = 0; i < value.size(); ++i) {
            if (value[i] == '\\' && i + 1 < value.size())
                ++i;
            out += value[i];
        }
        while (out.size() > 1 && out.back() == '/')
            out.pop_back();
        return out;
    }
    return {};
}

} // namespace

std::string XdgDirs::home() {
    if (const char* h = std::getenv("HOME"); h && *h)
        return h;
    if (const passwd* pw = getpwuid(getuid()))
        return pw->pw_dir;
    return "/";
}

std::string XdgDirs::configHome() {
    return envOr("XDG_CONFIG_HOME", home() + "/.config");
}

std::string XdgDirs::dataHome() {
    return envOr("XDG_DATA_HOME", home() + "/.local/share");
}

std::string XdgDirs::cacheHome() {
    return envOr("XDG_CACHE_HOME", home() + "/.cache");
}

std::string XdgDirs::userDir(std::string_view name) {
    const std::string var = "XDG_" + std::string(name) + "_DIR";
    if (auto text = SmallFile::read(configHome() + "/user-dirs.dirs", 1024 * 1024)) {
        if (auto v = valueIn(*text, var); !v.empty())
            return v;
    }
    if (const char* v = std::getenv(var.c_str()); v && *v == '/')
        return v;
    return name == "DESKTOP" ? home() + "/Desktop" : home();
}

bool XdgDirs::makePath(std::string_view path) {
    std::string p(path);
    for (std::size_t i = 1; i <= p.size(); ++i) {
        if (i < p.size() && p[i] != '/')
            continue;
        const std::string prefix = p.substr(0, i);
        if (!FileSystem::folderExists(prefix) && mkdir(prefix.c_str(), 0777) != 0 &&
            !FileSystem::folderExists(prefix))
            return false;
    }
    return FileSystem::folderExists(p);
}
