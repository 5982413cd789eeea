#include "platform/fs/MountTable.h"
#include "platform/fs/MountWatch.h"

#include "support/TempDir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/mount.h>

namespace {

const char* const sampleTable = "sysfs /sys sysfs rw,nosuid,nodev,noexec,relatime 0 0\n"
                                "proc /proc proc rw,nosuid,nodev,noexec,relatime 0 0\n"
                                "udev /dev devtmpfs rw,nosuid,relatime 0 0\n"
                                "/dev/sda2 / ext4 rw,relatime 0 0\n"
                                "tmpfs /run tmpfs rw,nosuid,nodev 0 0\n"
                                "cgroup2 /sys/fs/cgroup cgroup2 rw 0 0\n"
                                "/dev/loop3 /snap/core/1 squashfs ro 0 0\n"
                                "/dev/sda1 /boot/efi vfat rw 0 0\n"
                                "/dev/sdb1 /media/u/My\\040Disk\\011x\\134y fuseblk rw 0 0\n"
                                "server:/export /mnt/nfs nfs4 rw 0 0\n"
                                "overlay /var/lib/docker/overlay2/abc/merged overlay rw 0 0\n"
                                "gvfsd-fuse /run/user/1000/gvfs fuse.gvfsd-fuse rw 0 0\n"
                                "u@h:/ /mnt/ssh fuse.sshfs rw 0 0\n"
                                "/dev/vda /etc/hosts ext4 rw 0 0\n"
                                "short line\n"
                                "\n"
                                "/dev/sdc1 /mnt/nfs ext4 rw 0 0\n";

std::vector<std::string> mountPoints(const std::vector<MountEntry>& entries) {
    std::vector<std::string> points;
    for (const MountEntry& entry : entries) {
        points.push_back(entry.mountPoint);
    }
    return points;
}

} // namespace

TEST(MountTableTest, ParsesLinesAndDecodesOctalEscapes) {
    const auto entries = MountTable::parse(sampleTable);
    ASSERT_EQ(entries.size(), 15u);
    EXPECT_EQ(entries[3], (MountEntry{"/dev/sda2", "/", "ext4", "rw,relatime"}));
    EXPECT_EQ(entries[8].mountPoint, "/media/u/My Disk\tx\\y");
    EXPECT_EQ(MountTable::decodeOctal("a\\012b\\04"), "a\nb\\04");
    EXPECT_EQ(MountTable::decodeOctal("\\1"), "\\1");
}

TEST(MountTableTest, KeepsTheFileSystemsAUserBrowses) {
    const auto kept = MountTable::browsable(MountTable::parse(sampleTable));
    EXPECT_EQ(mountPoints(kept),
              (std::vector<std::string>{"/", "/boot/efi", "/media/u/My Disk\tx\\y", "/mnt/ssh",
                                        "/mnt/nfs"}));
    // The later mount over /mnt/nfs hides the earlier one.
    EXPECT_EQ(kept.back().device, "/dev/sdc1");
    // A container's root is an overlay and still listed.
    EXPECT_TRUE(MountTable::isBrowsable({"overlay", "/", "overlay", "rw"}));
}

TEST(MountTableTest, EntriesShowTheLabelOrTheDevice) {
    TempDir temp;
    const std::filesystem::path root = temp.path();
    std::ofstream(root / "disk1").put('x');
    std::filesystem::create_directory(root / "by-label");
    std::filesystem::create_symlink(root / "disk1", root / "by-label" / "My\\x20Data");
    const std::vector<MountEntry> entries{{(root / "disk1").string(), "/media/a", "ext4", "rw"},
                                          {"server:/export", "/mnt/nfs", "nfs4", "rw"}};
    EXPECT_EQ(MountTable::driveEntries(entries, (root / "by-label").string()),
              (std::vector<std::string>{"/media/a [My Data]", "/mnt/nfs [server:/export]"}));
}

TEST(MountTableTest, ThisProcessHasARootFileSystem) {
    const auto kept = MountTable::browsable(MountTable::read());
    EXPECT_NE(std::find_if(kept.begin(), kept.end(),
                           [](const MountEntry& e) { return e.mountPoint == "/"; }),
              kept.end());
    EXPECT_TRUE(MountTable::read("/nonexistent/mounts").empty());
}

TEST(MountWatchTest, TellsOnceOfEachMountAndUnmount) {
    TempDir dir;
    const std::string point = dir.mkdir("point");
    MountWatch watch;
    EXPECT_FALSE(watch.changed());
    if (::mount("tavrin-test", point.c_str(), "tmpfs", 0, nullptr) != 0)
        GTEST_SKIP() << "mounting is not permitted here";
    EXPECT_TRUE(watch.changed());
    EXPECT_FALSE(watch.changed());
    ASSERT_EQ(::umount(point.c_str()), 0);
    EXPECT_TRUE(watch.changed());
}
