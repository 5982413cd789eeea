// The mount table: every line with four fields is an entry, and the drive list made from
// the browsable ones has one entry per mount point.
#include "fuzz/FuzzSupport.h"
#include "platform/fs/MountTable.h"

#include <set>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto entries = MountTable::parse(fuzz::bytes(data, size));
    for (const MountEntry& entry : entries)
        FUZZ_CHECK(!entry.device.empty() && !entry.mountPoint.empty() && !entry.fsType.empty());
    const auto browsable = MountTable::browsable(entries);
    std::set<std::string> points;
    for (const MountEntry& entry : browsable)
        FUZZ_CHECK(points.insert(entry.mountPoint).second);
    const auto drives = MountTable::driveEntries(browsable, fuzz::folder() / "by-label");
    FUZZ_CHECK(drives.size() == browsable.size());
    return 0;
}
