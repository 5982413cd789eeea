#include "support/TempDir.h"

#include "platform/fs/FileSystem.h"
#include "platform/desktop/XdgDirs.h"

#include <cstdlib>
#include <fstream>
#include <ftw.h>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

TempDir::TempDir() {
    std::string pattern = "/tmp/tavrin-test-XXXXXX";
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    nftw(
        path_.c_str(),
        [](const char* p, const struct stat*, int, struct FTW*) { return ::remove(p); }, 16,
        FTW_DEPTH | FTW_PHYS);
}

std::string TempDir::operator/(std::string_view relative) const {
    return path_ + "/" + std::string(relative);
}

std::string TempDir::write(std::string_view relative, std::string_view bytes) const {
    const std::string p = *this / relative;
    XdgDirs::makePath(FileSystem::parentOf(p));
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return p;
}

std::string TempDir::mkdir(std::string_view relative) const {
    const std::string p = *this / relative;
    XdgDirs::makePath(p);
    return p;
}

std::string TempDir::read(std::string_view path) {
    std::ifstream in{std::string(path), std::ios::binary};
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}
