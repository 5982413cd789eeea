#include "browser/ChangeSignature.h"

#include "browser/FolderScan.h"
#include "browser/FolderSnapshots.h"
#include "platform/fs/FileSystem.h"
#include "platform/fs/FolderWatch.h"
#include "platform/text/TextCase.h"

#include <ctime>

bool Signature::changedTo(const Signature& now) const {
    return !TextCase::equal(counts, now.counts) || now.time > time;
}

std::chrono::system_clock::time_point ChangeSignature::fixedTime() {
    std::tm tm{};
    tm.tm_year = 101;
    tm.tm_mday = 1;
    tm.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&tm));
}

Signature ChangeSignature::read(std::string_view folder) {
    return of(folder, FileSystem::count(folder).value_or(FileSystem::Counts{}));
}

// Counted as the count() of the file system counts: by the entry's type, links and
// unknown types by what they point to, a broken link as a file.
Signature ChangeSignature::of(std::string_view folder, const FileSystem::Counts& counts) {
    return of(folder, FileSystem::getFolder(folder), counts);
}

Signature ChangeSignature::of(std::string_view folder, const std::optional<FileRecord>& record,
                              const FileSystem::Counts& counts) {
    Signature sig;
    if (record && FolderScan::isHiddenFolder(*record))
        sig.counts = "0-0";
    else
        sig.counts = std::to_string(counts.folders) + "-" + std::to_string(counts.files);
    sig.time = (!record || folder == "/") ? fixedTime() : record->modified;
    return sig;
}

bool ChangeSignature::mayHaveChanged(std::string_view folder) const {
    const auto generation = watch_ ? watch_->generation(folder) : std::nullopt;
    if (!generation)
        return true;
    const auto it = cache_.find(std::string(folder));
    return it == cache_.end() || it->second.generation != *generation;
}

std::optional<Signature> ChangeSignature::servedSignature(std::string_view folder) {
    const FolderSnapshot* s = snapshots_ ? snapshots_->findFull(folder) : nullptr;
    if (!s)
        return std::nullopt;
    const FileSystem::Counts counts{s->listing.folders.size(), s->listing.files.size()};
    Signature sig = of(folder, s->record, counts);
    if (const auto generation = watch_ ? watch_->generation(folder) : std::nullopt)
        cache_[std::string(folder)] = Cached{*generation, sig};
    return sig;
}

Signature ChangeSignature::signatureOf(std::string_view folder) {
    if (auto served = servedSignature(folder))
        return *served;
    const auto generation = watch_ ? watch_->generation(folder) : std::nullopt;
    if (!generation)
        return read(folder);
    const std::string key(folder);
    if (auto it = cache_.find(key); it != cache_.end() && it->second.generation == *generation)
        return it->second.signature;
    Signature sig = read(folder);
    cache_[key] = Cached{*generation, sig};
    return sig;
}
