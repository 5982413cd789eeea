#include "platform/fs/FolderReader.h"

#include "platform/fs/FileDescriptor.h"
#include "platform/text/TextCase.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::system_clock;

// From this many entries on, a second thread takes half of the status calls.
constexpr std::size_t kSharedFrom = 2048;

Clock::time_point toTimePoint(const statx_timestamp& ts) {
    return Clock::time_point(std::chrono::duration_cast<Clock::duration>(
        std::chrono::seconds(ts.tv_sec) + std::chrono::nanoseconds(ts.tv_nsec)));
}

struct EntryName {
    std::size_t offset; // into the block of names, each ending in a NUL
    bool isLink;
};

struct Names {
    std::string block;
    std::vector<EntryName> entries;
};

bool isDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

Names readNames(DIR* dir, FolderReader::Wanted wanted) {
    Names names;
    while (const dirent* entry = readdir(dir)) {
        if (isDotOrDotDot(entry->d_name))
            continue;
        const bool known = entry->d_type == DT_DIR || entry->d_type == DT_REG;
        if (known && wanted != FolderReader::Wanted::Both &&
            (entry->d_type == DT_DIR) != (wanted == FolderReader::Wanted::Folders))
            continue;
        names.entries.push_back({names.block.size(), entry->d_type == DT_LNK});
        names.block.append(entry->d_name);
        names.block.push_back('\0');
    }
    return names;
}

// Fills records [from, to); a record that cannot be looked at (the entry vanished) keeps
// an empty name.
void fillRecords(int dirFd, std::string_view folder, const Names& names,
                 std::vector<FileRecord>& records, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) {
        const char* name = names.block.c_str() + names.entries[i].offset;
        FileRecord& rec = records[i];
        rec.name = name;
        if (!FolderReader::stat(dirFd, name, names.entries[i].isLink, rec)) {
            rec.name.clear();
            continue;
        }
        rec.path = FileSystem::join(folder, rec.name);
    }
}

void appendUpper(std::string& keys, const std::string& name) {
    const bool ascii =
        std::all_of(name.begin(), name.end(), [](char c) { return (c & 0x80) == 0; });
    if (!ascii) {
        keys += TextCase::upper(name);
        return;
    }
    for (char c : name)
        keys.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
}

// Puts records[order[i]] at position i, moving each record once along its cycle.
void applyOrder(std::vector<FileRecord>& records, std::vector<std::uint32_t>& order) {
    for (std::size_t start = 0; start < order.size(); ++start) {
        if (order[start] == start)
            continue;
        FileRecord held = std::move(records[start]);
        std::size_t at = start;
        while (order[at] != start) {
            const std::size_t from = order[at];
            records[at] = std::move(records[from]);
            order[at] = static_cast<std::uint32_t>(at);
            at = from;
        }
        records[at] = std::move(held);
        order[at] = static_cast<std::uint32_t>(at);
    }
}

// Upper-case names of a range of records in one block, and that range's order by them
// (raw bytes breaking ties).
class SortKeys {
  public:
    void sortRange(const std::vector<FileRecord>& records, std::uint32_t* order, std::size_t from,
                   std::size_t to) {
        from_ = from;
        starts_.reserve(to - from + 1);
        for (std::size_t i = from; i < to; ++i) {
            starts_.push_back(keys_.size());
            appendUpper(keys_, records[i].name);
        }
        starts_.push_back(keys_.size());
        // Most comparisons are decided by the keys' first 16 bytes, held next to the
        // index; only where those are equal are the whole keys looked up.
        std::vector<Ranked> ranked(to - from);
        for (std::size_t i = from; i < to; ++i) {
            const auto index = static_cast<std::uint32_t>(i);
            const std::string_view name = key(index);
            ranked[i - from] = Ranked{prefixOf(name, 0), prefixOf(name, 8), index};
        }
        std::sort(ranked.begin(), ranked.end(), [&](const Ranked& a, const Ranked& b) {
            if (a.first != b.first)
                return a.first < b.first;
            if (a.second != b.second)
                return a.second < b.second;
            return before(records, *this, a.index, *this, b.index);
        });
        for (std::size_t i = from; i < to; ++i)
            order[i] = ranked[i - from].index;
    }

    std::string_view key(std::uint32_t i) const {
        const std::size_t at = i - from_;
        return std::string_view(keys_).substr(starts_[at], starts_[at + 1] - starts_[at]);
    }

    static bool before(const std::vector<FileRecord>& records, const SortKeys& keysA,
                       std::uint32_t a, const SortKeys& keysB, std::uint32_t b) {
        if (const int c = keysA.key(a).compare(keysB.key(b)); c != 0)
            return c < 0;
        return records[a].name < records[b].name;
    }

  private:
    struct Ranked {
        std::uint64_t first;
        std::uint64_t second;
        std::uint32_t index;
    };

    // Eight bytes of a key from `at` on, as a number that orders as the bytes do (names
    // hold no NUL, so the zeros padding a short key order it before longer ones).
    static std::uint64_t prefixOf(std::string_view key, std::size_t at) {
        std::uint64_t value = 0;
        for (std::size_t i = at; i < at + 8; ++i)
            value = value << 8 | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0u);
        return value;
    }

    std::string keys_;
    std::vector<std::size_t> starts_;
    std::size_t from_ = 0;
};

// Status calls for all names, then the order of the records by name. A large folder is
// shared with a second thread, each taking half and sorting it, and the halves merged;
// should no thread be available, this thread does all of it.
struct ReadRecords {
    std::vector<FileRecord> records;
    std::vector<std::uint32_t> order;
};

ReadRecords readRecords(int dirFd, std::string_view folder, const Names& names, bool sorted) {
    const std::size_t count = names.entries.size();
    ReadRecords read{std::vector<FileRecord>(count), std::vector<std::uint32_t>(count)};
    SortKeys first;
    SortKeys second;
    const auto work = [&](SortKeys& keys, std::size_t from, std::size_t to) {
        fillRecords(dirFd, folder, names, read.records, from, to);
        if (sorted)
            keys.sortRange(read.records, read.order.data(), from, to);
    };
    std::size_t half = count;
    std::thread helper;
    if (count >= kSharedFrom) {
        half = count / 2;
        try {
            helper = std::thread(work, std::ref(second), half, count);
        } catch (const std::system_error&) {
            half = count;
        }
    }
    work(first, 0, half);
    if (helper.joinable())
        helper.join();
    if (sorted && half < count) {
        const auto keysOf = [&](std::uint32_t i) -> const SortKeys& {
            return i < half ? first : second;
        };
        std::inplace_merge(read.order.begin(),
                           read.order.begin() + static_cast<std::ptrdiff_t>(half), read.order.end(),
                           [&](std::uint32_t a, std::uint32_t b) {
                               return SortKeys::before(read.records, keysOf(a), a, keysOf(b), b);
                           });
    }
    return read;
}

} // namespace

bool FolderReader::stat(int dirFd, const char* name, bool isLink, FileRecord& rec) {
    struct statx sx {};
    const unsigned mask = STATX_TYPE | STATX_SIZE | STATX_MTIME | STATX_BTIME | STATX_NLINK;
    if (statx(dirFd, name, AT_STATX_SYNC_AS_STAT, mask, &sx) != 0) {
        if (!isLink)
            return false;
        if (statx(dirFd, name, AT_SYMLINK_NOFOLLOW, mask, &sx) != 0)
            return false;
    }
    const bool dir = S_ISDIR(sx.stx_mode);
    rec.attributes = (dir ? AttrDirectory : 0u) | (isLink ? AttrSymbolicLink : 0u) |
                     (!rec.name.empty() && rec.name[0] == '.' ? AttrHidden : 0u);
    rec.size = dir ? 0 : sx.stx_size;
    rec.links = sx.stx_nlink;
    rec.modified = toTimePoint(sx.stx_mtime);
    rec.created = (sx.stx_mask & STATX_BTIME) ? toTimePoint(sx.stx_btime) : rec.modified;
    return true;
}

void FolderReader::sortByName(std::vector<FileRecord>& records) {
    std::vector<std::uint32_t> order(records.size());
    SortKeys().sortRange(records, order.data(), 0, records.size());
    applyOrder(records, order);
}

FolderListing FolderReader::read(std::string_view path, Wanted wanted, Order order) {
    FolderListing listing;
    FileDescriptor dirFd(
        open(path.empty() ? "." : std::string(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dirFd.valid())
        return listing;
    DIR* dir = fdopendir(dirFd.release());
    if (!dir)
        return listing;
    const Names names = readNames(dir, wanted);
    const bool sorted = order == Order::ByName;
    ReadRecords read = readRecords(dirfd(dir), path, names, sorted);
    closedir(dir);
    if (sorted)
        applyOrder(read.records, read.order);
    // The folders (few, as a rule) move to their own list; the files close up in place.
    // Entries that vanished before their status call have no name.
    std::vector<FileRecord>& records = read.records;
    if (wanted != Wanted::Files) {
        for (FileRecord& r : records)
            if (r.isFolder() && !r.name.empty())
                listing.folders.push_back(std::move(r));
    }
    if (wanted != Wanted::Folders) {
        std::erase_if(records, [](const FileRecord& r) { return r.isFolder() || r.name.empty(); });
        listing.files = std::move(records);
    }
    return listing;
}
