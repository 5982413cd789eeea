#pragma once

#include <cerrno>
#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <unistd.h>

// Owns one POSIX file descriptor and closes it when it goes out of scope.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    ~FileDescriptor() { close(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        if (this != &other) {
            close();
            fd_ = other.release();
        }
        return *this;
    }

    bool valid() const { return fd_ >= 0; }
    int get() const { return fd_; }
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }
    // Reads from the current position to the end; nullopt on an error or when more than
    // `limit` bytes come.
    std::optional<std::string>
    readToEnd(std::size_t limit = std::numeric_limits<std::size_t>::max()) {
        std::string data;
        char buffer[16384];
        while (data.size() <= limit) {
            const ssize_t n = ::read(fd_, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return std::nullopt;
            if (n == 0)
                return data;
            data.append(buffer, static_cast<std::size_t>(n));
        }
        return std::nullopt;
    }

    // True when there was nothing to close or the close succeeded.
    bool close() {
        if (fd_ < 0)
            return true;
        const int rc = ::close(fd_);
        fd_ = -1;
        return rc == 0;
    }

  private:
    int fd_;
};
