#include "platform/desktop/ShellLink.h"

#include "support/LnkInfo.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <map>
#include <random>
#include <sys/stat.h>

namespace {

std::string validLink() {
    ShellLinkData link;
    link.targetPath = "/home/ユーザー/書類/報告 書.txt";
    link.workingDirectory = "/home/ユーザー/書類";
    link.relativePath = "./報告 書.txt";
    return *ShellLink::encode(link);
}

void put32(std::string& bytes, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// A link as an ANSI writer makes it: an item id list, a LinkInfo with the short header
// (no UTF-16 paths) and CP932 string data.
std::string ansiLink() {
    std::string b("\x4C\0\0\0", 4);
    b += std::string("\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46", 16);
    b += std::string("\x13\0\0\0", 4); // id list, link info, working directory; not Unicode
    b += std::string(76 - b.size(), '\0');
    b += std::string("\x02\0\xAA\xBB", 4);                          // id list of 2 bytes, skipped
    const std::string path = "C:\\\x83\x65\x83\x58\x83\x67\\a.txt"; // C:\テスト\a.txt
    const std::string volume("\x11\0\0\0\x03\0\0\0\0\0\0\0\x10\0\0\0\0", 17);
    std::string info(0x1C, '\0');
    info += volume + path + '\0' + '\0';
    put32(info, 0, static_cast<std::uint32_t>(info.size()));
    put32(info, 4, 0x1C);
    put32(info, 8, 1);
    put32(info, 12, 0x1C);
    put32(info, 16, 0x1C + 17);
    put32(info, 24, static_cast<std::uint32_t>(0x1C + 17 + path.size() + 1));
    b += info;
    const std::string dir = "C:\\\x83\x65\x83\x58\x83\x67";
    b += static_cast<char>(dir.size());
    b += '\0';
    b += dir;
    return b + std::string(4, '\0');
}

} // namespace

TEST(ShellLinkTest, IndependentReaderSeesTargetAndWorkingDirectoryAndSoDoesOurs) {
    TempDir dir;
    const std::string folder = dir.mkdir("日本 語の フォルダ");
    const std::string target = dir.write("日本 語の フォルダ/ﾚﾎﾟｰﾄ 第1版.txt", "abc");
    const std::string link = dir / "ﾚﾎﾟｰﾄ.lnk";
    ASSERT_TRUE(ShellLink::save(link, target, folder));

    auto fields = lnkinfo(dir, link);
    EXPECT_EQ(fields["Local path"], target);
    EXPECT_EQ(fields["Working directory"], folder);
    EXPECT_EQ(fields["Relative path"], "./日本 語の フォルダ/ﾚﾎﾟｰﾄ 第1版.txt");
    EXPECT_EQ(fields["File size"], "3 bytes");

    const auto read = ShellLink::load(link);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->targetPath, target);
    EXPECT_EQ(read->workingDirectory, folder);
    EXPECT_EQ(read->fileAttributes, 0x20u);
}

TEST(ShellLinkTest, FolderTargetIsMarkedAsFolderAndReadsBack) {
    TempDir dir;
    const std::string folder = dir.mkdir("Work, <old> & new");
    const std::string link = dir / "Work.lnk";
    ASSERT_TRUE(ShellLink::save(link, folder, dir.path()));
    auto fields = lnkinfo(dir, link);
    EXPECT_EQ(fields["Local path"], folder);
    EXPECT_EQ(fields["Working directory"], dir.path());
    const auto read = ShellLink::load(link);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->targetPath, folder);
    EXPECT_EQ(read->fileAttributes, 0x10u);
}

TEST(ShellLinkTest, PathsThatAreNotUtf8ComeBackByteForByte) {
    TempDir dir;
    const std::string target = dir.path() + "/a\xFF\xFE b,c\nd\x80\xED\xA0\x80 😀.txt";
    const std::string workDir = dir.path() + "/w\xC3";
    const std::string link = dir / "odd.lnk";
    ASSERT_TRUE(ShellLink::save(link, target, workDir));
    const auto read = ShellLink::load(link);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->targetPath, target);
    EXPECT_EQ(read->workingDirectory, workDir);
    // The independent reader accepts the file as well.
    EXPECT_FALSE(lnkinfo(dir, link).empty());
}

TEST(ShellLinkTest, RefusesWhatCannotBeStoredWhole) {
    ShellLinkData link;
    EXPECT_FALSE(ShellLink::encode(link)) << "no target";
    link.targetPath = std::string("/a\0b", 4);
    EXPECT_FALSE(ShellLink::encode(link)) << "NUL in the path";
    link.targetPath = "/" + std::string(70000, 'x');
    EXPECT_FALSE(ShellLink::encode(link)) << "longer than 16-bit lengths allow";
    link.targetPath = "/ok";
    link.workingDirectory = "/" + std::string(70000, 'x');
    EXPECT_FALSE(ShellLink::encode(link));
    TempDir dir;
    EXPECT_FALSE(ShellLink::save(dir / "x.lnk", "", dir.path()));
    EXPECT_FALSE(TempDir::read(dir / "x.lnk").size());
}

TEST(ShellLinkTest, ReadsAnsiLinksWithItemIdList) {
    const auto read = ShellLink::decode(ansiLink());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->targetPath, "C:\\テスト\\a.txt");
    EXPECT_EQ(read->workingDirectory, "C:\\テスト");
}

// The sample of the published format description: a shortcut made by Windows to
// C:\test\a.txt, with an item id list, an ANSI LinkInfo, string data and extra data.
TEST(ShellLinkTest, ReadsTheFormatsPublishedSampleOfAWindowsShortcut) {
    const std::string hex = "4C 00 00 00 01 14 02 00 00 00 00 00 C0 00 00 00 "
                            "00 00 00 46 9B 00 08 00 20 00 00 00 D0 E9 EE F2 "
                            "15 15 C9 01 D0 E9 EE F2 15 15 C9 01 D0 E9 EE F2 "
                            "15 15 C9 01 00 00 00 00 00 00 00 00 01 00 00 00 "
                            "00 00 00 00 00 00 00 00 00 00 00 00 BD 00 14 00 "
                            "1F 50 E0 4F D0 20 EA 3A 69 10 A2 D8 08 00 2B 30 "
                            "30 9D 19 00 2F 43 3A 5C 00 00 00 00 00 00 00 00 "
                            "00 00 00 00 00 00 00 00 00 00 00 46 00 31 00 00 "
                            "00 00 00 2C 39 69 A3 10 00 74 65 73 74 00 00 32 "
                            "00 07 00 04 00 EF BE 2C 39 65 A3 2C 39 69 A3 26 "
                            "00 00 00 03 1E 00 00 00 00 F5 1E 00 00 00 00 00 "
                            "00 00 00 00 00 74 00 65 00 73 00 74 00 00 00 14 "
                            "00 48 00 32 00 00 00 00 00 2C 39 69 A3 20 00 61 "
                            "2E 74 78 74 00 34 00 07 00 04 00 EF BE 2C 39 69 "
                            "A3 2C 39 69 A3 26 00 00 00 2D 6E 00 00 00 00 96 "
                            "01 00 00 00 00 00 00 00 00 00 00 61 00 2E 00 74 "
                            "00 78 00 74 00 00 00 14 00 00 00 3C 00 00 00 1C "
                            "00 00 00 01 00 00 00 1C 00 00 00 2D 00 00 00 00 "
                            "00 00 00 3B 00 00 00 11 00 00 00 03 00 00 00 81 "
                            "8A 7A 30 10 00 00 00 00 43 3A 5C 74 65 73 74 5C "
                            "61 2E 74 78 74 00 00 07 00 2E 00 5C 00 61 00 2E "
                            "00 74 00 78 00 74 00 07 00 43 00 3A 00 5C 00 74 "
                            "00 65 00 73 00 74 00 60 00 00 00 03 00 00 A0 58 "
                            "00 00 00 00 00 00 00 63 68 72 69 73 2D 78 70 73 "
                            "00 00 00 00 00 00 00 40 78 C7 94 47 FA C7 46 B3 "
                            "56 5C 2D C6 B6 D1 15 EC 46 CD 7B 22 7F DD 11 94 "
                            "99 00 13 72 16 87 4A 40 78 C7 94 47 FA C7 46 B3 "
                            "56 5C 2D C6 B6 D1 15 EC 46 CD 7B 22 7F DD 11 94 "
                            "99 00 13 72 16 87 4A 00 00 00 00 ";
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 3)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    ASSERT_EQ(bytes.size(), 0x1CBu);
    const auto read = ShellLink::decode(bytes);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->targetPath, "C:\\test\\a.txt");
    EXPECT_EQ(read->workingDirectory, "C:\\test");
    EXPECT_EQ(read->relativePath, ".\\a.txt");
    EXPECT_EQ(read->fileAttributes, 0x20u);
}

TEST(ShellLinkTest, EveryTruncationIsRejected) {
    for (const std::string& whole : {validLink(), ansiLink()}) {
        // The last four bytes are the terminal block, which carries nothing.
        for (std::size_t size = 0; size + 4 < whole.size(); ++size)
            EXPECT_FALSE(ShellLink::decode(whole.substr(0, size))) << size;
        EXPECT_TRUE(ShellLink::decode(whole.substr(0, whole.size() - 4)));
    }
}

TEST(ShellLinkTest, HostileSizesAndOffsetsAreRejected) {
    const std::string good = validLink();
    ASSERT_TRUE(ShellLink::decode(good));
    const std::size_t info = 76;
    const auto patched = [&](std::size_t at, std::uint32_t v) {
        std::string b = good;
        put32(b, at, v);
        return b;
    };
    EXPECT_FALSE(ShellLink::decode(patched(0, 0x4D))) << "header size";
    EXPECT_FALSE(ShellLink::decode(patched(4, 0))) << "class id";
    EXPECT_FALSE(ShellLink::decode(patched(info, 0xFFFFFFF0u))) << "LinkInfo size";
    EXPECT_FALSE(ShellLink::decode(patched(info, 3))) << "LinkInfo size below its header";
    EXPECT_FALSE(ShellLink::decode(patched(info + 4, 0x20))) << "LinkInfo header size";
    EXPECT_FALSE(ShellLink::decode(patched(info + 4, 0x7FFFFFFF))) << "header past the block";
    EXPECT_FALSE(ShellLink::decode(patched(info + 28, 0xFFFFFFFFu))) << "path offset";
    // A UTF-16 path that runs to the end of the block without its terminator.
    const std::uint32_t infoSize =
        static_cast<unsigned char>(good[info]) | static_cast<unsigned char>(good[info + 1]) << 8;
    EXPECT_FALSE(ShellLink::decode(patched(info + 28, infoSize - 1)));
    // String data claiming more characters than the file holds.
    std::string b = good;
    b[info + infoSize] = '\xFF';
    b[info + infoSize + 1] = '\xFF';
    EXPECT_FALSE(ShellLink::decode(b));
}

TEST(ShellLinkTest, RandomDamageNeverCrashes) {
    std::mt19937 random(20261207);
    for (const std::string& whole : {validLink(), ansiLink()}) {
        for (int round = 0; round < 3000; ++round) {
            std::string b = whole;
            const int changes = 1 + static_cast<int>(random() % 6);
            for (int i = 0; i < changes; ++i)
                b[random() % b.size()] = static_cast<char>(random());
            (void)ShellLink::decode(b);
        }
    }
    std::string noise(300, '\0');
    for (int round = 0; round < 2000; ++round) {
        for (auto& c : noise)
            c = static_cast<char>(random());
        EXPECT_FALSE(ShellLink::decode(noise));
    }
}

TEST(ShellLinkTest, LoadOnlyReadsSmallRegularFiles) {
    TempDir dir;
    EXPECT_FALSE(ShellLink::load(dir / "missing.lnk"));
    EXPECT_FALSE(ShellLink::load(dir.mkdir("folder.lnk")));
    const std::string fifo = dir / "pipe.lnk";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(ShellLink::load(fifo)) << "a pipe must neither block nor be read";
    EXPECT_FALSE(ShellLink::load(dir.write("empty.lnk", "")));
    std::string big = validLink();
    big += std::string(ShellLink::kMaxFileSize, 'x');
    EXPECT_FALSE(ShellLink::load(dir.write("big.lnk", big)));
    EXPECT_TRUE(ShellLink::load(dir.write("good.lnk", validLink())));
}

TEST(ShellLinkTest, RelativePathFromTheLinkFolder) {
    EXPECT_EQ(ShellLink::relativeTo("/a/b", "/a/b/c.txt"), "./c.txt");
    EXPECT_EQ(ShellLink::relativeTo("/a/b", "/a/x/c.txt"), "../x/c.txt");
    EXPECT_EQ(ShellLink::relativeTo("/a/b/", "/c"), "../../c");
    EXPECT_EQ(ShellLink::relativeTo("/", "/c d"), "./c d");
    EXPECT_EQ(ShellLink::relativeTo("/a/b", "/a"), "") << "the target above the link";
    EXPECT_EQ(ShellLink::relativeTo("a", "/a"), "");

    // A link that names its target only relatively resolves against its own folder.
    TempDir dir;
    ShellLinkData link;
    link.targetPath = "/placeholder";
    link.relativePath = "./報告 書.txt";
    std::string bytes = *ShellLink::encode(link);
    put32(bytes, 20, 0x80 | 0x8); // Unicode, relative path: the LinkInfo is gone
    const std::size_t infoSize = static_cast<unsigned char>(bytes[76]);
    bytes.erase(76, infoSize);
    const auto read = ShellLink::load(dir.write("rel.lnk", bytes));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->targetPath, dir / "報告 書.txt");
}
