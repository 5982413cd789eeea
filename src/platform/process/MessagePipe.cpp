#include "platform/process/MessagePipe.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>

namespace {

void makeNonBlocking(int fd) {
    if (fd >= 0)
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
}

// Milliseconds left until the deadline, for poll(): 0 once it has passed.
int msLeft(MessagePipe::Deadline deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return static_cast<int>(std::clamp<long long>(left.count() + 1, 0, 60'000));
}

bool waitFor(int fd, short events, MessagePipe::Deadline deadline) {
    pollfd p{fd, events, 0};
    int rc;
    while ((rc = poll(&p, 1, msLeft(deadline))) < 0 && errno == EINTR) {
    }
    return rc > 0;
}

// A write to a pipe whose reader has gone raises SIGPIPE, which would end this program.
// The signal is held back for this thread while writing and a SIGPIPE caused by the write
// is taken off again, so only EPIPE remains.
ssize_t writeWithoutSigpipe(int fd, const char* data, std::size_t size) {
    sigset_t pipeOnly, old, pending;
    sigemptyset(&pipeOnly);
    sigaddset(&pipeOnly, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeOnly, &old);
    sigpending(&pending);
    const bool wasPending = sigismember(&pending, SIGPIPE) == 1;
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EPIPE && !wasPending) {
        const timespec zero{0, 0};
        while (sigtimedwait(&pipeOnly, nullptr, &zero) < 0 && errno == EINTR) {
        }
        errno = EPIPE;
    }
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
    return n;
}

} // namespace

MessagePipe::MessagePipe(FileDescriptor out, FileDescriptor in, std::size_t maxMessage)
    : out_(std::move(out)), in_(std::move(in)), maxMessage_(maxMessage) {
    makeNonBlocking(out_.get());
    makeNonBlocking(in_.get());
    broken_ = !out_.valid() || !in_.valid();
}

bool MessagePipe::send(std::string_view message, Deadline deadline) {
    std::string framed(message);
    framed += '\0';
    std::size_t done = 0;
    while (!broken_ && done < framed.size()) {
        const ssize_t n =
            writeWithoutSigpipe(out_.get(), framed.data() + done, framed.size() - done);
        if (n > 0)
            done += static_cast<std::size_t>(n);
        else if (n < 0 && errno == EINTR)
            continue;
        else if (n < 0 && errno == EAGAIN && waitFor(out_.get(), POLLOUT, deadline))
            continue;
        else
            broken_ = true; // closed, failed, or timed out with part of a message written
    }
    return !broken_;
}

std::optional<std::string> MessagePipe::receive(Deadline deadline) {
    while (!broken_) {
        if (auto message = takeMessage())
            return message;
        broken_ = buffer_.size() > maxMessage_;
        if (broken_ || !readSome(deadline))
            return std::nullopt;
    }
    return std::nullopt;
}

std::optional<std::string> MessagePipe::takeMessage() {
    const auto end = buffer_.find('\0', scanned_);
    if (end == std::string::npos) {
        scanned_ = buffer_.size();
        return std::nullopt;
    }
    std::string message = buffer_.substr(0, end);
    buffer_.erase(0, end + 1);
    scanned_ = 0;
    return message;
}

// Appends what the pipe holds to the buffer; false on a timeout or when it broke.
bool MessagePipe::readSome(Deadline deadline) {
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(in_.get(), chunk, sizeof chunk);
        if (n > 0) {
            buffer_.append(chunk, static_cast<std::size_t>(n));
            return true;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            if (!waitFor(in_.get(), POLLIN, deadline))
                return false;
            continue;
        }
        broken_ = true; // end of file: the other side has gone
        return false;
    }
}

void MessagePipe::close() {
    out_.close();
    in_.close();
    buffer_.clear();
    scanned_ = 0;
    broken_ = true;
}
