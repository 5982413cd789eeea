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
    const auto only = scan.GtFlds(dir / "only");
    EXPECT_TRUE(only.any);
    EXPECT_TRUE(only.entries.empty());
    EXPECT_TRUE(scan.bHasFld(dir / "only", "")) << "the raw look inside finds a folder";

    dir.mkdir("mix/b");
    dir.mkdir("mix/A");
    dir.mkdir("mix/Windows/CSC");
    dir.mkdir("mix/Windows/Fonts");
    EXPECT_EQ(names(scan.GtFlds(dir / "mix")), (std::vector<std::string>{"A", "b", "Windows"}));
    EXPECT_EQ(names(scan.GtFlds(dir / "mix/Windows")), (std::vector<std::string>{"Fonts"}));
    EXPECT_FALSE(scan.GtFlds(dir / "mix/A").any);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FolderScanTest, MissingFolderIsReportedAndGivesNothing) {
    EXPECT_FALSE(scan.GtFlds(dir / "gone").any);
    EXPECT_FALSE(scan.GtFLs(dir / "gone", "").any);
    EXPECT_EQ(messages.shown,
              (std::vector<std::string>{dir / "gone/ Not Found ", dir / "gone/ Not Found "}));
    EXPECT_FALSE(scan.bHasFld(dir / "gone", ""));
    EXPECT_EQ(messages.shown.size(), 2u) << "the look inside reports nothing";
}

TEST_F(FolderScanTest, FilterMatchesTheExtensionAnywhereInTheFilterText) {
    for (const char* n : {"a.JPG", "a.jpeg", "README", "b.txt", "t.t"})
        dir.write(n, "");
    EXPECT_EQ(names(scan.GtFLs(dir.path(), "jpg")), (std::vector<std::string>{"a.JPG"}));
    EXPECT_EQ(names(scan.GtFLs(dir.path(), "doc;txt;xls")),
              (std::vector<std::string>{"b.txt", "t.t"}));
    EXPECT_EQ(scan.GtFLs(dir.path(), "*.*").entries.size(), 5u);
    EXPECT_EQ(scan.GtFLs(dir.path(), "").entries.size(), 5u);
    EXPECT_EQ(names(scan.GtFLs(dir.path(), "readme")), (std::vector<std::string>{"README"}));
    const auto none = scan.GtFLs(dir.path(), "xyz");
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
        const auto both = scan.GtFldsAndFLs(dir / "m", filter);
        EXPECT_EQ(names(both.folders), names(scan.GtFlds(dir / "m"))) << filter;
        EXPECT_EQ(names(both.files), names(scan.GtFLs(dir / "m", filter))) << filter;
        EXPECT_EQ(both.files.any, scan.GtFLs(dir / "m", filter).any);
    }
    const auto none = scan.GtFldsAndFLs(dir / "gone", "");
    EXPECT_FALSE(none.folders.any || none.files.any);
    EXPECT_EQ(messages.shown.size(), 1u) << "one notice for the missing folder";
}

TEST_F(FolderScanTest, HasLooksForANameOrAnything) {
    dir.mkdir("p/Sub");
    dir.write("p/File.txt", "");
    EXPECT_TRUE(scan.bHasFld(dir / "p", "sub"));
    EXPECT_FALSE(scan.bHasFld(dir / "p", "other"));
    EXPECT_TRUE(scan.bHasFL(dir / "p", "FILE.TXT"));
    EXPECT_TRUE(scan.bHasFL(dir / "p", ""));
    EXPECT_FALSE(scan.bHasFL(dir / "p/Sub", ""));
    EXPECT_FALSE(scan.bHasFld(dir / "p/Sub", ""));
}

} // namespace
