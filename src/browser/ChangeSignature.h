#pragma once

#include "platform/fs/FileSystem.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

class FolderSnapshots;
class FolderWatch;

// The change signature of a folder: "subfolders-files" (raw counts, excluded folders and
// filtered-out files included) and the folder's last-modified time. An excluded folder
// reads "0-0"; the file-system root and a folder whose time cannot be read get the fixed
// time 2001-01-01 00:00.
struct Signature {
    std::string counts;
    std::chrono::system_clock::time_point time;

    // True when `now` differs in its counts or has a later time.
    bool changedTo(const Signature& now) const;
};

// Takes signatures, re-reading a folder only when its watch saw a change (or when it
// cannot be watched), so that ticks on an unchanged folder cost nothing. A folder whose
// snapshot is being served (`snapshots`) is answered from it.
class ChangeSignature {
  public:
    explicit ChangeSignature(FolderWatch* watch, const FolderSnapshots* snapshots = nullptr)
        : watch_(watch), snapshots_(snapshots) {}

    // False only when the folder's watch saw nothing since the signature last taken: no
    // need to read it.
    bool mayHaveChanged(std::string_view folder) const;

    Signature signatureOf(std::string_view folder);
    static Signature read(std::string_view folder);
    static std::chrono::system_clock::time_point fixedTime();

  private:
    static Signature of(std::string_view folder, const FileSystem::Counts& counts);
    static Signature of(std::string_view folder, const std::optional<FileRecord>& record,
                        const FileSystem::Counts& counts);
    // The signature of a served snapshot, kept like one read from the disk.
    std::optional<Signature> servedSignature(std::string_view folder);

    struct Cached {
        std::uint64_t generation;
        Signature signature;
    };
    FolderWatch* watch_;
    const FolderSnapshots* snapshots_;
    std::unordered_map<std::string, Cached> cache_;
};
