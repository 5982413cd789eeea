#include "platform/fs/SmallFile.h"

#include "platform/fs/FileDescriptor.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

std::optional<std::string> SmallFile::read(std::string_view path, std::size_t limit) {
    FileFault ignored;
    return read(path, limit, ignored);
}

std::optional<std::string> SmallFile::read(std::string_view path, std::size_t limit,
                                           FileFault& fault) {
    fault = {};
    // O_NONBLOCK keeps the open itself from waiting on a pipe; fstat then rejects it.
    FileDescriptor fd(
        ::open(std::string(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    struct stat st {};
    if (!fd.valid() || fstat(fd.get(), &st) != 0) {
        fault.error = errno;
        return std::nullopt;
    }
    if (!S_ISREG(st.st_mode)) {
        fault.notRegular = true;
        return std::nullopt;
    }
    if (static_cast<std::size_t>(st.st_size) > limit) {
        fault.error = EFBIG;
        return std::nullopt;
    }
    // A file that grows past the limit while being read is refused too.
    errno = 0;
    auto bytes = fd.readToEnd(limit);
    if (!bytes)
        fault.error = errno != 0 ? errno : EFBIG;
    return bytes;
}
