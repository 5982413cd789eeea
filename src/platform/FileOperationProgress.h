#pragma once

#include <cstdint>
#include <string>

struct FileOperationStatus {
    std::uint64_t itemsDone = 0;
    std::uint64_t itemsTotal = 0;
    std::uint64_t bytesDone = 0;
    std::uint64_t bytesTotal = 0;
    // The path being worked on.
    std::string current;
};

// Receives the state of a running file operation. Called on the worker thread, often:
// an implementation only stores what it needs and must not block.
class FileOperationProgress {
  public:
    virtual ~FileOperationProgress() = default;
    virtual void update(const FileOperationStatus& status) = 0;
};
