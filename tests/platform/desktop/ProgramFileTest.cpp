#include "platform/desktop/ProgramFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

std::string withMode(const std::string& path, mode_t mode) {
    chmod(path.c_str(), mode);
    return path;
}

} // namespace

TEST(ProgramFileTest, OnlyExecutableBinariesAndScriptsAreStartedDirectly) {
    TempDir dir;
    EXPECT_TRUE(ProgramFile::is("/proc/self/exe")) << "an ELF binary, through a symbolic link";
    EXPECT_TRUE(ProgramFile::is(withMode(dir.write("run me.sh", "#!/bin/sh\n"), 0755)));
    EXPECT_FALSE(ProgramFile::is(withMode(dir.write("plain.sh", "#!/bin/sh\n"), 0644)));
    EXPECT_FALSE(ProgramFile::is(withMode(dir.write("copied.txt", "text from a USB stick"), 0755)))
        << "an execute bit alone does not make a document a program";
    EXPECT_FALSE(ProgramFile::is(withMode(dir.write("one.bin", "#"), 0755)));
    EXPECT_FALSE(ProgramFile::is(withMode(dir.mkdir("folder"), 0755)));
    EXPECT_FALSE(ProgramFile::is(dir / "missing"));
    const std::string fifo = dir / "pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0755), 0);
    EXPECT_FALSE(ProgramFile::is(fifo)) << "must not block on a pipe";
}
