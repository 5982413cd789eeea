#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class NamePattern;

// Looks for files and folders whose names match a pattern in a folder and everything
// below it. Symbolic links are reported but never followed, so a loop of links cannot
// keep it going; the kernel's virtual folders (/proc, /sys, /dev) are not entered.
// Names come back exactly as the file system holds them.
//
// Thread rules: run() does its work on the calling thread, meant to be a worker thread;
// `deliver` is called on that same thread. `cancelled` may be set from any thread.
class FileSearch {
  public:
    struct Hit {
        std::string folder; // without a trailing "/" (except "/")
        std::string name;
        bool isFolder = false;

        std::string path() const;
    };
    using Batch = std::vector<Hit>;

    // Results are handed over when this many are collected, or when the last hand-over
    // is this long ago, so that a slow search still shows what it has found.
    static constexpr std::size_t kBatchSize = 256;
    static constexpr std::chrono::milliseconds kBatchInterval{150};

    // Each folder's entries in name order (ignoring case), folders searched depth first.
    // False when the search was cancelled; whatever was found until then is delivered.
    static bool run(std::string_view root, const NamePattern& pattern,
                    const std::atomic<bool>& cancelled, const std::function<void(Batch&&)>& deliver,
                    std::size_t batchSize = kBatchSize);
};
