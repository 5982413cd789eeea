#include "platform/desktop/ProgramFile.h"

#include "platform/fs/FileDescriptor.h"

#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

bool ProgramFile::is(std::string_view path) {
    const std::string p(path);
    FileDescriptor fd(::open(p.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    struct stat st {};
    if (!fd.valid() || fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
        access(p.c_str(), X_OK) != 0)
        return false;
    char magic[4] = {};
    const ssize_t n = ::read(fd.get(), magic, sizeof magic);
    const std::string_view head(magic, n > 0 ? static_cast<std::size_t>(n) : 0);
    return head == "\x7F"
                   "ELF" ||
           head.substr(0, 2) == "#!";
}
