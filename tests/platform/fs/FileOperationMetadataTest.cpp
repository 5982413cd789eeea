// What a copy keeps of each entry: the same as `cp -a` keeps of the same tree.
#include "platform/fs/FileOperationEngineFixture.h"
#include "support/Unprivileged.h"

#include <acl/libacl.h>
#include <cstdlib>
#include <ftw.h>
#include <map>
#include <sys/acl.h>
#include <sys/xattr.h>

namespace {

constexpr uid_t kNobody = 65534;

std::string aclOf(const std::string& path, acl_type_t type) {
    acl_t acl = acl_get_file(path.c_str(), type);
    if (!acl)
        return {};
    char* text = acl_to_any_text(acl, nullptr, ',', 0);
    std::string result = text ? text : "";
    acl_free(text);
    acl_free(acl);
    return result;
}

void setAcl(const std::string& path, acl_type_t type, const char* text) {
    acl_t acl = acl_from_text(text);
    ASSERT_NE(acl, nullptr);
    EXPECT_EQ(acl_set_file(path.c_str(), type, acl), 0) << path;
    acl_free(acl);
}

std::string xattrOf(const std::string& path, const char* name) {
    char value[256];
    const ssize_t n = lgetxattr(path.c_str(), name, value, sizeof value);
    return n < 0 ? std::string() : std::string(value, static_cast<std::size_t>(n));
}

// Everything that cp -a keeps of each entry below `root`, by relative path; the names of
// one file all name the first of them in order.
std::map<std::string, std::string> fingerprint(const std::string& root) {
    static std::vector<std::pair<std::string, struct stat>>* walked;
    std::vector<std::pair<std::string, struct stat>> entries;
    walked = &entries;
    nftw(
        root.c_str(),
        [](const char* p, const struct stat* st, int, struct FTW*) {
            walked->emplace_back(p, *st);
            return 0;
        },
        16, FTW_PHYS);
    std::map<std::pair<dev_t, ino_t>, std::string> firstNames;
    for (const auto& [path, st] : entries) {
        auto [slot, added] = firstNames.emplace(std::make_pair(st.st_dev, st.st_ino), path);
        if (!added && path.substr(root.size()) < slot->second.substr(root.size()))
            slot->second = path;
    }
    std::map<std::string, std::string> prints;
    for (const auto& [path, st] : entries) {
        const bool sparse = S_ISREG(st.st_mode) && st.st_blocks * 512 < st.st_size;
        prints[path.substr(root.size())] =
            std::to_string(st.st_mode) + " " + std::to_string(st.st_uid) + ":" +
            std::to_string(st.st_gid) + " size " +
            (S_ISDIR(st.st_mode) ? std::string("of a folder") : std::to_string(st.st_size)) +
            (sparse ? " sparse" : "") + " mtime " + std::to_string(st.st_mtim.tv_sec) + "." +
            std::to_string(st.st_mtim.tv_nsec) + " name of " +
            firstNames.at({st.st_dev, st.st_ino}).substr(root.size()) + " xattr " +
            xattrOf(path, "user.tavrin") + " acl " +
            (S_ISLNK(st.st_mode) ? "" : aclOf(path, ACL_TYPE_ACCESS)) + " default " +
            (S_ISDIR(st.st_mode) ? aclOf(path, ACL_TYPE_DEFAULT) : "");
    }
    return prints;
}

// A tree of everything cp -a keeps: ACLs (one denying "nobody" what others may do), a
// folder's default ACL, an extended attribute, two names of one file, a file with a hole,
// a FIFO, a link, and as root another user's set-user-ID program.
void buildTree(const TempDir& tmp) {
    const std::string secret = tmp.write("src/t/secret", "not for nobody");
    chmod(secret.c_str(), 0644);
    setAcl(secret, ACL_TYPE_ACCESS, "u::rw-,u:nobody:---,g::r--,m::r--,o::r--");
    lsetxattr(secret.c_str(), "user.tavrin", "kept", 4, 0);
    tmp.mkdir("src/t/sub");
    setAcl(tmp / "src/t/sub", ACL_TYPE_DEFAULT, "u::rwx,u:nobody:---,g::r-x,m::r-x,o::r-x");
    tmp.write("src/t/sub/one", "linked");
    link((tmp / "src/t/sub/one").c_str(), (tmp / "src/t/two").c_str());
    const int fd = open((tmp / "src/t/sparse").c_str(), O_WRONLY | O_CREAT, 0644);
    pwrite(fd, "x", 1, 1 << 20);
    ftruncate(fd, 64 << 20);
    close(fd);
    mkfifo((tmp / "src/t/pipe").c_str(), 0640);
    symlink("sub/one", (tmp / "src/t/link").c_str());
    if (geteuid() == 0) {
        const std::string program = tmp.write("src/t/program", "#!/bin/sh\n");
        chown(program.c_str(), kNobody, kNobody);
        chmod(program.c_str(), 04755);
    }
}

using FileOperationMetadataTest = FileOperationEngineTest;

TEST_F(FileOperationMetadataTest, CopyAndMoveAcrossFileSystemsKeepWhatCpAKeeps) {
    auto other = mountAt("other", "size=128m");
    for (const bool moving : {false, true}) {
        if (moving && !other)
            continue;
        SCOPED_TRACE(moving ? "move across file systems" : "copy");
        buildTree(tmp);
        const std::string reference = tmp / "reference";
        ASSERT_EQ(std::system(("cp -a '" + (tmp / "src/t") + "' '" + reference + "'").c_str()), 0);
        const std::string dest = moving ? tmp / "other" : tmp.mkdir("copied");
        EXPECT_TRUE(moving ? move({tmp / "src/t"}, dest) : copy({tmp / "src/t"}, dest));
        EXPECT_EQ(dialogs.asked, std::vector<std::string>{});
        const auto expected = fingerprint(reference);
        EXPECT_NE(expected.at("/secret").find("user:nobody:---"), std::string::npos);
        EXPECT_EQ(fingerprint(dest + "/t"), expected);
        EXPECT_EQ(exists(tmp / "src/t"), !moving);
        std::system(
            ("rm -rf '" + reference + "' '" + dest + "/t' '" + (tmp / "src") + "'").c_str());
    }
}

TEST_F(FileOperationMetadataTest, ACopyWhoseOwnerCannotBeKeptLosesItsPrivilegeBits) {
    if (geteuid() != 0)
        GTEST_SKIP() << "needs another user's program";
    chmod(tmp.path().c_str(), 0755);
    const std::string program = tmp.write("root/program", "#!/bin/sh\n");
    chmod((tmp / "root").c_str(), 0755);
    chmod(program.c_str(), 06755);
    const std::string mine = tmp.mkdir("mine");
    EXPECT_TRUE(asUnprivileged(mine, [&] {
        const bool done = copy({program}, mine);
        const struct stat st = statOf(mine + "/program");
        return done && st.st_uid == kNobody && (st.st_mode & 07777) == 0755;
    }));
}

} // namespace
