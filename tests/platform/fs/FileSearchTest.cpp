#include "platform/fs/FileSearch.h"
#include "platform/text/NamePattern.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

class FileSearchTest : public ::testing::Test {
  protected:
    // Runs a search to its end and gives every hit as its path below the temporary folder.
    std::vector<std::string> find(const std::string& pattern, const std::string& root = "") {
        std::vector<std::string> found;
        const std::atomic<bool> cancelled{false};
        completed = FileSearch::run(root.empty() ? dir.path() : root, NamePattern(pattern),
                                    cancelled, [&](FileSearch::Batch&& batch) {
                                        ++batches;
                                        for (const auto& hit : batch)
                                            found.push_back(hit.path().substr(dir.path().size()));
                                    });
        return found;
    }

    TempDir dir;
    bool completed = false;
    int batches = 0;
};

TEST_F(FileSearchTest, FindsMatchingFilesAndFoldersAtEveryDepthInNameOrder) {
    dir.write("b.txt", "");
    dir.write("A.TXT", "");
    dir.write("notes.md", "");
    dir.write("sub/deep/c.txt", "");
    dir.write("sub/d.txt", "");
    dir.mkdir("folder.txt");
    const auto found = find("*.txt");
    EXPECT_TRUE(completed);
    EXPECT_EQ(found, (std::vector<std::string>{"/A.TXT", "/b.txt", "/folder.txt", "/sub/d.txt",
                                               "/sub/deep/c.txt"}));
}

TEST_F(FileSearchTest, NamesThatAreNotUtf8ComeBackUnchanged) {
    const std::string odd = "caf\xe9 <&>,\n.txt";
    dir.write("sub\xff/" + odd, "");
    const auto found = find("*.txt");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0], "/sub\xff/" + odd);
}

TEST_F(FileSearchTest, LinksAreReportedButNotFollowed) {
    dir.write("real/x.txt", "");
    ASSERT_EQ(symlink(dir.path().c_str(), (dir / "real/loop").c_str()), 0);
    ASSERT_EQ(symlink((dir / "real").c_str(), (dir / "again").c_str()), 0);
    const auto found = find("*");
    EXPECT_TRUE(completed);
    EXPECT_EQ(found, (std::vector<std::string>{"/again", "/real", "/real/loop", "/real/x.txt"}));
}

TEST_F(FileSearchTest, ARootWithATrailingSlashGivesThePathsWithoutADoubleOne) {
    dir.write("a.txt", "");
    EXPECT_EQ(find("a.txt", dir.path() + "/"), (std::vector<std::string>{"/a.txt"}));
}

TEST_F(FileSearchTest, AMissingFolderFindsNothing) {
    EXPECT_TRUE(find("*", dir / "missing").empty());
    EXPECT_TRUE(completed);
}

TEST_F(FileSearchTest, ManyHitsArriveInSeveralBatches) {
    for (int i = 0; i < 12; ++i)
        dir.write("f/" + std::to_string(i) + ".log", "");
    dir.write("g/last.log", "");
    std::size_t found = 0;
    const std::atomic<bool> cancelled{false};
    FileSearch::run(
        dir.path(), NamePattern("*.log"), cancelled,
        [&](FileSearch::Batch&& batch) {
            ++batches;
            found += batch.size();
        },
        5);
    EXPECT_EQ(found, 13u);
    EXPECT_GE(batches, 2);
}

TEST_F(FileSearchTest, ACancelledSearchStopsAndSaysSo) {
    dir.write("a/1.txt", "");
    dir.write("b/2.txt", "");
    std::atomic<bool> cancelled{false};
    std::vector<std::string> found;
    // Cancelled from within the first hand-over: no further folder is read.
    const bool done = FileSearch::run(
        dir.path(), NamePattern("*"), cancelled,
        [&](FileSearch::Batch&& batch) {
            for (const auto& hit : batch)
                found.push_back(hit.name);
            cancelled = true;
        },
        1);
    EXPECT_FALSE(done);
    EXPECT_EQ(found, (std::vector<std::string>{"a", "b"}));

    cancelled = true;
    found.clear();
    EXPECT_FALSE(FileSearch::run(dir.path(), NamePattern("*"), cancelled,
                                 [&](FileSearch::Batch&&) { found.push_back("x"); }));
    EXPECT_TRUE(found.empty());
}

} // namespace
