#include "platform/FolderReader.h"

#include "platform/FileDescriptor.h"
#include "platform/TextCase.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <numeric>
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

// Status calls for all names; shared with a second thread for a large folder. Should no
// thread be available, this thread does all of them.
std::vector<FileRecord> recordsOf(int dirFd, std::string_view folder, const Names& names) {
    const std::size_t count = names.entries.size();
    std::vector<FileRecord> records(count);
    std::size_t half = count;
    std::thread helper;
    if (count >= kSharedFrom) {
        half = count / 2;
        try {
            helper = std::thread(fillRecords, dirFd, folder, std::cref(names), std::ref(records),
                                 half, count);
        } catch (const std::system_error&) {
            half = count;
        }
    }
    fillRecords(dirFd, folder, names, records, 0, half);
    if (helper.joinable())
        helper.join();
    std::erase_if(records, [](const FileRecord& r) { return r.name.empty(); });
    return records;
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
    // The upper-case keys live in one block; the sort moves 32-bit positions only.
    std::string keys;
    std::vector<std::size_t> starts;
    starts.reserve(records.size() + 1);
    for (const FileRecord& r : records) {
        starts.push_back(keys.size());
        appendUpper(keys, r.name);
    }
    starts.push_back(keys.size());
    const auto key = [&](std::uint32_t i) {
        return std::string_view(keys).substr(starts[i], starts[i + 1] - starts[i]);
    };
    std::vector<std::uint32_t> order(records.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        if (const int c = key(a).compare(key(b)); c != 0)
            return c < 0;
        return records[a].name < records[b].name;
    });
    applyOrder(records, order);
}

FolderListing FolderReader::read(std::string_view path, Wanted wanted) {
    FolderListing listing;
    FileDescriptor dirFd(
        open(path.empty() ? "." : std::string(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dirFd.valid())
        return listing;
    DIR* dir = fdopendir(dirFd.release());
    if (!dir)
        return listing;
    const Names names = readNames(dir, wanted);
    std::vector<FileRecord> records = recordsOf(dirfd(dir), path, names);
    closedir(dir);
    // Folders to the back, then into their own list; the files stay where they are. Both
    // are sorted afterwards, so the partition need not keep the order.
    const auto firstFolder = std::partition(records.begin(), records.end(),
                                            [](const FileRecord& r) { return !r.isFolder(); });
    if (wanted != Wanted::Files)
        listing.folders.assign(std::make_move_iterator(firstFolder),
                               std::make_move_iterator(records.end()));
    records.erase(firstFolder, records.end());
    if (wanted != Wanted::Folders)
        listing.files = std::move(records);
    sortByName(listing.folders);
    sortByName(listing.files);
    return listing;
}
