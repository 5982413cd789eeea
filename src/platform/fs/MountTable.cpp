#include "platform/fs/MountTable.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unordered_set>

namespace {

// Kernel, memory and bookkeeping file systems: nothing a user browses.
const std::unordered_set<std::string_view>& virtualTypes() {
    static const std::unordered_set<std::string_view> types{
        "proc",        "sysfs",       "tmpfs",         "devtmpfs",
        "devpts",      "cgroup",      "cgroup2",       "mqueue",
        "securityfs",  "debugfs",     "tracefs",       "pstore",
        "bpf",         "configfs",    "fusectl",       "hugetlbfs",
        "autofs",      "binfmt_misc", "efivarfs",      "rpc_pipefs",
        "nsfs",        "ramfs",       "selinuxfs",     "nfsd",
        "squashfs",    "overlay",     "aufs",          "fuse.gvfsd-fuse",
        "fuse.portal", "fuse.lxcfs",  "fuse.snapfuse", "ecryptfs"};
    return types;
}

// Network file systems and others whose device is not a path.
const std::unordered_set<std::string_view>& networkTypes() {
    static const std::unordered_set<std::string_view> types{
        "nfs", "nfs4",  "cifs", "smb3",     "smbfs",  "9p",   "ceph",   "glusterfs",
        "afs", "davfs", "zfs",  "virtiofs", "vboxsf", "fuse", "fuseblk"};
    return types;
}

bool isOctal(char c) {
    return c >= '0' && c <= '7';
}

// Labels under /dev/disk/by-label escape unsafe bytes as \xHH.
std::string decodeHexEscapes(std::string_view name) {
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' &&
            std::isxdigit(static_cast<unsigned char>(name[i + 2])) &&
            std::isxdigit(static_cast<unsigned char>(name[i + 3]))) {
            out += static_cast<char>(std::stoi(std::string(name.substr(i + 2, 2)), nullptr, 16));
            i += 3;
        } else {
            out += name[i];
        }
    }
    return out;
}

std::vector<std::string_view> fields(std::string_view line) {
    std::vector<std::string_view> result;
    std::size_t pos = 0;
    while (pos < line.size()) {
        const std::size_t start = line.find_first_not_of(" \t", pos);
        if (start == std::string_view::npos) {
            break;
        }
        const std::size_t end = std::min(line.find_first_of(" \t", start), line.size());
        result.push_back(line.substr(start, end - start));
        pos = end;
    }
    return result;
}

} // namespace

std::string MountTable::decodeOctal(std::string_view field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        const bool escape = field[i] == '\\' && i + 3 < field.size() && isOctal(field[i + 1]) &&
                            isOctal(field[i + 2]) && isOctal(field[i + 3]);
        if (escape) {
            out += static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) |
                                     (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

std::vector<MountEntry> MountTable::parse(std::string_view text) {
    std::vector<MountEntry> entries;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = std::min(text.find('\n', pos), text.size());
        const auto parts = fields(text.substr(pos, end - pos));
        pos = end + 1;
        if (parts.size() < 4) {
            continue;
        }
        entries.push_back(MountEntry{decodeOctal(parts[0]), decodeOctal(parts[1]),
                                     decodeOctal(parts[2]), decodeOctal(parts[3])});
    }
    return entries;
}

std::vector<MountEntry> MountTable::read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return {};
    }
    std::ostringstream text;
    text << in.rdbuf();
    return parse(text.str());
}

bool MountTable::isBrowsable(const MountEntry& entry) {
    if (entry.mountPoint == "/") {
        return true;
    }
    // Mounts inside the system's own trees: kernel interfaces, and the single files a
    // container runtime binds over /etc (hosts, resolv.conf). Decided by name, without
    // touching the mount, so that a hung network share cannot stall the drive list.
    for (const std::string_view system : {"/proc/", "/sys/", "/dev/", "/etc/"}) {
        if (entry.mountPoint.starts_with(system)) {
            return false;
        }
    }
    if (virtualTypes().count(entry.fsType) != 0) {
        return false;
    }
    return entry.device.starts_with('/') || networkTypes().count(entry.fsType) != 0 ||
           entry.fsType.starts_with("fuse.");
}

std::vector<MountEntry> MountTable::browsable(const std::vector<MountEntry>& entries) {
    std::vector<MountEntry> result;
    for (const MountEntry& entry : entries) {
        if (!isBrowsable(entry)) {
            continue;
        }
        std::erase_if(result,
                      [&](const MountEntry& kept) { return kept.mountPoint == entry.mountPoint; });
        result.push_back(entry);
    }
    return result;
}

std::string MountTable::labelOf(const std::string& device, const std::string& byLabelFolder) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path target = fs::canonical(device, error);
    if (error) {
        return {};
    }
    for (fs::directory_iterator it(byLabelFolder, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code linkError;
        if (fs::canonical(it->path(), linkError) == target && !linkError) {
            return decodeHexEscapes(it->path().filename().string());
        }
    }
    return {};
}

std::vector<std::string> MountTable::driveEntries(const std::vector<MountEntry>& entries,
                                                  const std::string& byLabelFolder) {
    std::vector<std::string> texts;
    for (const MountEntry& entry : entries) {
        const std::string label = labelOf(entry.device, byLabelFolder);
        std::string text = entry.mountPoint + " [";
        text += label.empty() ? entry.device : label;
        text += "]";
        texts.push_back(std::move(text));
    }
    return texts;
}
