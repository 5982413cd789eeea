#pragma once

#include "platform/fs/FileDescriptor.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

// Messages over a pair of pipes, each message ended by a NUL byte: the framing of
// Chromium's remote-debugging pipe. Every call waits no longer than its deadline. Once the
// other end has closed, a message was cut off by a timeout, or one grew beyond the limit,
// the pipe is broken and stays so.
class MessagePipe {
  public:
    using Deadline = std::chrono::steady_clock::time_point;
    static constexpr std::size_t kMaxMessage = 64u << 20;

    // `out` is written to, `in` read from; both are made non-blocking.
    MessagePipe(FileDescriptor out, FileDescriptor in, std::size_t maxMessage = kMaxMessage);

    // Writes the message and its NUL. False when the pipe is or became broken.
    bool send(std::string_view message, Deadline deadline);
    // The next whole message; nothing on a timeout or when the pipe is broken.
    std::optional<std::string> receive(Deadline deadline);
    bool broken() const { return broken_; }
    // Closes both ends, which tells the other side to finish.
    void close();

  private:
    std::optional<std::string> takeMessage();
    bool readSome(Deadline deadline);

    FileDescriptor out_;
    FileDescriptor in_;
    std::string buffer_;
    std::size_t maxMessage_;
    std::size_t scanned_ = 0;
    bool broken_ = false;
};
