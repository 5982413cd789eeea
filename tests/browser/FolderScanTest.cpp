#include "browser/FolderScan.h"
#include "support/ScriptedMessageBox.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> names(const FolderEntries& e) {
    std::vector<std::string> out;
    for (const auto& r : e.entries)
        out.push_back(r.name);
    return out;
}

class FolderScanTest : public ::testing::Test {
  protected:
    TempDir dir;
    ScriptedMessageBox messages;
    FolderScan scan{messages};
};

TEST_F(FolderScanTest, ExcludedSubfoldersAreHiddenButStillCountAsSubfolders) {
    dir.mkdir("only/System Volume Information");
    const auto only = scan.listFolders(dir / "only");
    EXPECT_TRUE(only.any);
    EXPECT_TRUE(only.entries.empty());
    EXPECT_TRUE(scan.hasFolders(dir / "only", "")) << "the raw look inside finds a folder";

    dir.mkdir("mix/b");
    dir.mkdir("mix/A");
    dir.mkdir("mix/Windows/CSC");
    dir.mkdir("mix/Windows/Fonts");
    EXPECT_EQ(names(scan.listFolders(dir / "mix")), (std::vector<std::string>{"A", "b", "Windows"}));
    EXPECT_EQ(names(scan.listFolders(dir / "mix/Windows")), (std::vector<std::string>{"Fonts"}));
    EXPECT_FALSE(scan.listFolders(dir / "mix/A").any);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FolderScanTest, MissingFolderIsReportedAndGivesNothing) {
    EXPECT_FALSE(scan.listFolders(dir / "gone").any);
    EXPECT_FALSE(scan.listFiles(dir / "gone", "").any);
    EXPECT_EQ(messages.shown,
              (std::vector<std::string>{dir / "gone/ Not Found ", dir / "gone/ Not Found "}));
    EXPECT_FALSE(scan.hasFolders(dir / "gone", ""));
    EXPECT_EQ(messages.shown.size(), 2u) << "the look inside reports nothing";
}

TEST_F(FolderScanTest, FilterMatchesTheExtensionAnywhereInTheFilterText) {
    for (const char* n : {"a.JPG", "a.jpeg", "README", "b.txt", "t.t"})
        dir.write(n, "");
    EXPECT_EQ(names(scan.listFiles(dir.path(), "jpg")), (std::vector<std::string>{"a.JPG"}));
    EXPECT_EQ(names(scan.listFiles(dir.path(), "doc;txt;xls")),
              (std::vector<std::string>{"b.txt", "t.t"}));
    EXPECT_EQ(scan.listFiles(dir.path(), "*.*").entries.size(), 5u);
    EXPECT_EQ(scan.listFiles(dir.path(), "").entries.size(), 5u);
    EXPECT_EQ(names(scan.listFiles(dir.path(), "readme")), (std::vector<std::string>{"README"}));
    const auto none = scan.listFiles(dir.path(), "xyz");
    EXPECT_TRUE(none.any);
    EXPECT_TRUE(none.entries.empty());
}

TEST_F(FolderScanTest, OneReadGivesWhatTheTwoSeparateListingsGive) {
    dir.mkdir("m/B");
    dir.mkdir("m/a");
    dir.mkdir("m/System Volume Information");
    for (const char* n : {"x.txt", "Y.TXT", "z.doc", "README"})
        dir.write(std::string("m/") + n, "");
    for (const char* filter : {"", "txt", "doc;readme"}) {
        const auto both = scan.listFoldersAndFiles(dir / "m", filter);
        EXPECT_EQ(names(both.folders), names(scan.listFolders(dir / "m"))) << filter;
        EXPECT_EQ(names(both.files), names(scan.listFiles(dir / "m", filter))) << filter;
        EXPECT_EQ(both.files.any, scan.listFiles(dir / "m", filter).any);
    }
    const auto none = scan.listFoldersAndFiles(dir / "gone", "");
    EXPECT_FALSE(none.folders.any || none.files.any);
    EXPECT_EQ(messages.shown.size(), 1u) << "one notice for the missing folder";
}

TEST_F(FolderScanTest, HasLooksForANameOrAnything) {
    dir.mkdir("p/Sub");
    dir.write("p/File.txt", "");
    EXPECT_TRUE(scan.hasFolders(dir / "p", "sub"));
    EXPECT_FALSE(scan.hasFolders(dir / "p", "other"));
    EXPECT_TRUE(scan.hasFiles(dir / "p", "FILE.TXT"));
    EXPECT_TRUE(scan.hasFiles(dir / "p", ""));
    EXPECT_FALSE(scan.hasFiles(dir / "p/Sub", ""));
    EXPECT_FALSE(scan.hasFolders(dir / "p/Sub", ""));
}

} // namespace
