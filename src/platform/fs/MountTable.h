#pragma once

#include <string>
#include <string_view>
#include <vector>

// One line of the kernel's mount table.
struct MountEntry {
    std::string device;
    std::string mountPoint;
    std::string fsType;
    std::string options;
    bool operator==(const MountEntry&) const = default;
};

// Reads the mounted file systems (/proc/self/mounts) and picks those a user browses:
// block devices, network and FUSE file systems, and always "/". Kernel and memory file
// systems (proc, sysfs, tmpfs, cgroup, devpts, ...), read-only package images (squashfs),
// container layers (overlay) elsewhere than "/" and anything mounted below /proc, /sys,
// /dev or /etc are left out.
class MountTable {
  public:
    // Entries of a mount table text, in order; octal escapes (\040 blank, \011 tab,
    // \012 line break, \134 backslash) decoded. Malformed lines are skipped.
    static std::vector<MountEntry> parse(std::string_view text);
    // The table of this process; empty when it cannot be read.
    static std::vector<MountEntry> read(const std::string& path = "/proc/self/mounts");
    static bool isBrowsable(const MountEntry& entry);
    // Browsable entries, one per mount point (a later mount over the same point wins),
    // in table order.
    static std::vector<MountEntry> browsable(const std::vector<MountEntry>& entries);
    // The label of a block device from /dev/disk/by-label (empty when none), looked up
    // under `byLabelFolder`.
    static std::string labelOf(const std::string& device,
                               const std::string& byLabelFolder = "/dev/disk/by-label");
    // Drive list entries: mount point + " [" + label or device name + "]".
    static std::vector<std::string>
    driveEntries(const std::vector<MountEntry>& entries,
                 const std::string& byLabelFolder = "/dev/disk/by-label");
    static std::string decodeOctal(std::string_view field);
};
