#include "platform/SmallFile.h"

#include "platform/FileDescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>

std::optional<std::string> SmallFile::read(std::string_view path, std::size_t limit) {
    // O_NONBLOCK keeps the open itself from waiting on a pipe; fstat then rejects it.
    FileDescriptor fd(
        ::open(std::string(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    struct stat st {};
    if (!fd.valid() || fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<std::size_t>(st.st_size) > limit)
        return std::nullopt;
    // A file that grows past the limit while being read is refused too.
    return fd.readToEnd(limit);
}
