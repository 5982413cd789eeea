#include "platform/fs/MountWatch.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

MountWatch::MountWatch(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}

MountWatch::~MountWatch() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool MountWatch::changed() {
    if (fd_ < 0)
        return false;
    pollfd watched{fd_, POLLPRI, 0};
    // The poll itself acknowledges the change.
    return ::poll(&watched, 1, 0) > 0 && (watched.revents & (POLLERR | POLLPRI)) != 0;
}
