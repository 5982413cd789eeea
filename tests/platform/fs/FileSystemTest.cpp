#include "platform/fs/FileSystem.h"
#include "platform/text/AnsiCodec.h"
#include "platform/text/TextCase.h"
#include "support/TempDir.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::vector<std::string> names(const std::vector<FileRecord>& records) {
    std::vector<std::string> out;
    for (const auto& r : records)
        out.push_back(r.name);
    return out;
}

TEST(FileSystem, EnumerationIsCaseInsensitiveAscendingWithRawBytesBreakingTies) {
    TempDir dir;
    for (const char* name :
         {"b.txt", "A.txt", "a.txt", "C.doc", "ｶﾅ.txt", "漢字.txt", "Äpfel", "_x"})
        dir.write(name, "");
    for (const char* name : {"Zeta", "alpha", "Beta", "ベータ"})
        dir.mkdir(name);
    const FolderListing listing = FileSystem::list(dir.path());
    EXPECT_EQ(names(listing.folders),
              (std::vector<std::string>{"alpha", "Beta", "Zeta", "ベータ"}));
    EXPECT_EQ(names(listing.files),
              (std::vector<std::string>{"A.txt", "a.txt", "b.txt", "C.doc", "_x", "Äpfel",
                                        "漢字.txt", "ｶﾅ.txt"}));
    EXPECT_EQ(names(FileSystem::subFolders(dir.path())), names(listing.folders));
    EXPECT_EQ(names(FileSystem::files(dir.path())), names(listing.files));
}

TEST(FileSystem, ALargeFolderReadByTwoThreadsGivesEveryRecordInOrder) {
    TempDir dir;
    std::vector<std::string> files;
    std::vector<std::string> folders;
    for (int i = 0; i < 3000; ++i) {
        // Names sharing their first 16 bytes or more, and names differing only in case.
        const std::string name = (i % 4 == 0   ? "ｶﾅ"
                                  : i % 4 == 1 ? "File"
                                  : i % 4 == 2 ? "file"
                                               : "IMG_holiday_beach_") +
                                 std::to_string(i) + (i % 2 ? ".txt" : "");
        if (i % 50 == 0) {
            dir.mkdir(name);
            folders.push_back(name);
        } else {
            dir.write(name, std::string(static_cast<std::size_t>(i % 7), 'x'));
            files.push_back(name);
        }
    }
    const auto byName = [](const std::string& a, const std::string& b) {
        return TextCase::compare(a, b) < 0;
    };
    std::sort(files.begin(), files.end(), byName);
    std::sort(folders.begin(), folders.end(), byName);
    const FolderListing listing = FileSystem::list(dir.path());
    ASSERT_EQ(names(listing.files), files);
    ASSERT_EQ(names(listing.folders), folders);
    for (const FileRecord& r : listing.files) {
        EXPECT_EQ(r.path, dir / r.name);
        EXPECT_EQ(r.size, std::stoul(r.name.substr(r.name.find_first_of("0123456789"))) % 7);
    }
    EXPECT_EQ(names(FileSystem::files(dir.path())), files);
    EXPECT_EQ(names(FileSystem::subFolders(dir.path())), folders);
}

TEST(FileSystem, RecordsCarryAttributesSizesAndPaths) {
    TempDir dir;
    dir.write("sub/.hidden", "12345");
    dir.write("sub/f", "abc");
    symlink((dir / "sub").c_str(), (dir / "link").c_str());
    symlink((dir / "nowhere").c_str(), (dir / "broken").c_str());
    const FolderListing top = FileSystem::list(dir.path());
    ASSERT_EQ(names(top.folders), (std::vector<std::string>{"link", "sub"}));
    EXPECT_EQ(top.folders[0].attributes, AttrDirectory | AttrSymbolicLink);
    EXPECT_EQ(top.folders[1].attributes, AttrDirectory);
    EXPECT_EQ(top.folders[1].path, dir / "sub");
    ASSERT_EQ(names(top.files), (std::vector<std::string>{"broken"}));
    EXPECT_EQ(top.files[0].attributes, AttrSymbolicLink);

    const auto files = FileSystem::files(dir / "sub");
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].attributes, AttrHidden);
    EXPECT_EQ(files[0].size, 5u);
    EXPECT_GT(files[1].modified.time_since_epoch().count(), 0);
    EXPECT_LE(files[1].created, files[1].modified + std::chrono::seconds(1));

    EXPECT_TRUE(FileSystem::getFolder(dir / "sub"));
    EXPECT_FALSE(FileSystem::getFolder(dir / "sub/f"));
    EXPECT_EQ(FileSystem::getFile(dir / "sub/f")->size, 3u);
    EXPECT_TRUE(FileSystem::folderExists("/"));
    EXPECT_FALSE(FileSystem::folderExists(""));
    EXPECT_TRUE(FileSystem::list(dir / "missing").files.empty());
}

TEST(FileSystem, NamesThatAreNotUtf8TravelUnchanged) {
    TempDir dir;
    const std::string odd = "bad\xff\xfe name,<&>\nline";
    dir.write(odd, "x");
    const auto files = FileSystem::files(dir.path());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].name, odd);
    EXPECT_TRUE(FileSystem::fileExists(files[0].path));
    EXPECT_TRUE(FileSystem::rename(files[0].path, "renamed\xff"));
    EXPECT_TRUE(FileSystem::fileExists(dir / "renamed\xff"));
    EXPECT_FALSE(FileSystem::rename(dir / "renamed\xff", "a/b"));
    dir.write("taken", "t");
    EXPECT_FALSE(FileSystem::rename(dir / "renamed\xff", "taken"));
    EXPECT_EQ(TempDir::read(dir / "taken"), "t");
}

TEST(FileSystem, CreateFolderMakesOneLevel) {
    TempDir dir;
    EXPECT_TRUE(FileSystem::createFolder(dir / "new"));
    EXPECT_FALSE(FileSystem::createFolder(dir / "new"));
    EXPECT_FALSE(FileSystem::createFolder(dir / "x/y"));
}

TEST(FileSystem, AnsiTextIsCp932AndReadsBackUnchanged) {
    TempDir dir;
    const std::string path = dir / "t.txt";
    ASSERT_TRUE(FileSystem::writeAnsiText(path, "設定 ～ abc"));
    EXPECT_EQ(TempDir::read(path), AnsiCodec::encode("設定 ～ abc"));
    EXPECT_EQ(FileSystem::readAnsiText(path), "設定 ～ abc");
    // Bytes that are not CP932 survive a read and a write.
    const std::string raw = "\x81\x40ok\xa0\xfd\xfe";
    dir.write("raw", raw);
    ASSERT_TRUE(FileSystem::writeAnsiText(dir / "raw2", *FileSystem::readAnsiText(dir / "raw")));
    EXPECT_EQ(TempDir::read(dir / "raw2"), raw);
    EXPECT_FALSE(FileSystem::readAnsiText(dir / "missing"));
}

TEST(FileSystem, AtomicWriteKeepsModeAndLinksAndLeavesNoTemporaryFiles) {
    TempDir dir;
    const std::string real = dir.write("real.xml", "old");
    chmod(real.c_str(), 0640);
    symlink(real.c_str(), (dir / "link.xml").c_str());
    ASSERT_TRUE(FileSystem::writeBytesAtomically(dir / "link.xml", "new"));
    EXPECT_EQ(TempDir::read(real), "new");
    struct stat st {};
    lstat((dir / "link.xml").c_str(), &st);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    stat(real.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(FileSystem::list(dir.path()).files.size(), 2u);
    EXPECT_FALSE(FileSystem::writeBytesAtomically(dir / "missing/x", "y"));
}

TEST(FileSystem, PathHelpers) {
    EXPECT_EQ(FileSystem::parentOf("/a/b"), "/a");
    EXPECT_EQ(FileSystem::parentOf("/a"), "/");
    EXPECT_EQ(FileSystem::nameOf("/a/b c"), "b c");
    EXPECT_EQ(FileSystem::nameOf("/"), "/");
    EXPECT_EQ(FileSystem::join("/", "x"), "/x");
    EXPECT_EQ(FileSystem::join("/a", "x"), "/a/x");
}

} // namespace

TEST(FileSystem, HoldSubfoldersSeesRealFoldersAndLinksToFoldersInLongLists) {
    TempDir dir;
    dir.mkdir("target");
    std::vector<std::string> names;
    std::vector<char> expected;
    for (int i = 0; i < 300; ++i) {
        names.push_back("d" + std::to_string(i));
        dir.mkdir("p/" + names.back());
        const std::string inside = dir / ("p/" + names.back() + "/x");
        char holds = 1;
        if (i % 3 == 0)
            dir.mkdir("p/" + names.back() + "/x");
        else if (i % 3 == 1)
            EXPECT_EQ(::symlink((dir / "target").c_str(), inside.c_str()), 0);
        else
            holds = (dir.write("p/" + names.back() + "/file", ""), 0);
        expected.push_back(holds);
    }
    names.push_back("missing");
    expected.push_back(0);
    const std::vector<std::string_view> views(names.begin(), names.end());
    EXPECT_EQ(FileSystem::holdSubfolders(dir / "p", views), expected);
}
