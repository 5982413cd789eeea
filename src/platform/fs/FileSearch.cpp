#include "platform/fs/FileSearch.h"

#include "platform/text/NamePattern.h"
#include "platform/text/TextCase.h"

#include <algorithm>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>

namespace {

struct Entry {
    std::string name;
    bool isFolder = false; // a real folder, not a link to one
};

struct DirCloser {
    void operator()(DIR* d) const { closedir(d); }
};

bool isFolderEntry(const std::string& folder, const dirent& e) {
    if (e.d_type != DT_UNKNOWN)
        return e.d_type == DT_DIR;
    struct stat st {};
    const std::string path = (folder == "/" ? folder : folder + "/") + e.d_name;
    return lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The folder's entries in name order; empty when it cannot be read.
std::vector<Entry> entriesOf(const std::string& folder) {
    std::vector<Entry> entries;
    std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
    if (!dir)
        return entries;
    while (const dirent* e = readdir(dir.get())) {
        const std::string_view name = e->d_name;
        if (name != "." && name != "..")
            entries.push_back({std::string(name), isFolderEntry(folder, *e)});
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return TextCase::compare(a.name, b.name) < 0; });
    return entries;
}

bool isVirtual(const std::string& path) {
    return path == "/proc" || path == "/sys" || path == "/dev";
}

std::string withoutTrailingSlash(std::string_view path) {
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    return std::string(path);
}

} // namespace

std::string FileSearch::Hit::path() const {
    return (folder == "/" ? folder : folder + "/") + name;
}

bool FileSearch::run(std::string_view root, const NamePattern& pattern,
                     const std::atomic<bool>& cancelled,
                     const std::function<void(Batch&&)>& deliver, std::size_t batchSize) {
    using Clock = std::chrono::steady_clock;
    Batch batch;
    auto lastDelivery = Clock::now();
    const auto handOver = [&] {
        if (!batch.empty())
            deliver(std::move(batch));
        batch.clear();
        lastDelivery = Clock::now();
    };
    std::vector<std::string> pending{withoutTrailingSlash(root)};
    while (!pending.empty()) {
        if (cancelled.load()) {
            handOver();
            return false;
        }
        const std::string folder = std::move(pending.back());
        pending.pop_back();
        const std::vector<Entry> entries = entriesOf(folder);
        const std::size_t firstSub = pending.size();
        for (const Entry& e : entries) {
            Hit hit{folder, e.name, e.isFolder};
            if (e.isFolder && !isVirtual(hit.path()))
                pending.push_back(hit.path());
            if (pattern.matches(e.name))
                batch.push_back(std::move(hit));
        }
        // Sub-folders are searched in name order: the first is taken from the stack first.
        std::reverse(pending.begin() + static_cast<std::ptrdiff_t>(firstSub), pending.end());
        if (batch.size() >= batchSize || Clock::now() - lastDelivery >= kBatchInterval)
            handOver();
    }
    handOver();
    return true;
}
