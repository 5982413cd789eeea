#include "actions/FakeClipboard.h"
#include "actions/FileOperations.h"
#include "browser/BrowserFixture.h"
#include "platform/desktop/ShellLink.h"
#include "support/LnkInfo.h"

namespace {

class ShortcutMakerTest : public BrowserFixture {
  protected:
    void SetUp() override {
        dir.write("f/v1.2/notes", "n");
        dir.write("f/report.txt", "t");
        dir.write("f/report.doc", "d");
        dir.write("f/report.lnk", "keep");
        dir.mkdir("f/Work");
        dir.mkdir("links");
        browser.setRoot(dir / "f");
        ops().setClipboard(&clipboard);
    }
    FileOperations& ops() { return browser.fileOperations(); }
    std::vector<std::string> paths(const std::vector<std::string>& relative) {
        std::vector<std::string> out;
        for (const std::string& r : relative)
            out.push_back(dir / r);
        return out;
    }

    FakeClipboard clipboard;
};

TEST_F(ShortcutMakerTest, ShortcutsAreNamedAfterTheirItemsAndNeverReplaceAFile) {
    struct Case {
        const char* what;
        std::vector<std::string> items;
        std::string destination;
        std::vector<std::string> links;
    };
    const Case cases[] = {
        {"no extension in a dotted folder", {"f/v1.2/notes"}, "", {"f/v1.2/notes.lnk"}},
        {"folder", {"f/Work"}, "", {"f/Work.lnk"}},
        {"same base name, name taken",
         {"f/report.txt", "f/report.doc"},
         "",
         {"f/report (2).lnk", "f/report (3).lnk"}},
        {"chosen folder",
         {"f/v1.2/notes", "f/Work"},
         dir / "links/",
         {"links/notes.lnk", "links/Work.lnk"}},
    };
    for (const Case& c : cases) {
        ops().makeShortcuts(paths(c.items), c.destination);
        for (std::size_t i = 0; i < c.links.size(); ++i) {
            const std::string link = dir / c.links[i];
            auto fields = lnkinfo(dir, link);
            EXPECT_EQ(fields["Local path"], dir / c.items[i]) << c.what;
            EXPECT_EQ(fields["Working directory"], FileSystem::parentOf(link)) << c.what;
        }
    }
    EXPECT_EQ(TempDir::read(dir / "f/report.lnk"), "keep");
    EXPECT_FALSE(FileSystem::fileExists(dir / "f/v1.lnk"));
    EXPECT_TRUE(row("report (3).lnk")) << "the listed folder is reconciled";
    EXPECT_FALSE(clipboard.text || !clipboard.files.paths.empty());
}

TEST_F(ShortcutMakerTest, CutModePutsExactlyTheNewShortcutsOnTheClipboardAsAMove) {
    ops().makeShortcuts(paths({"f/report.txt", "f/gone.txt", "f/Work"}), "*");
    EXPECT_EQ(clipboard.files.paths, paths({"f/report (2).lnk", "f/Work.lnk"}));
    EXPECT_EQ(clipboard.files.effect, ClipEffect::Move);
    EXPECT_FALSE(FileSystem::fileExists(dir / "f/gone.lnk"));
}

TEST_F(ShortcutMakerTest, OddAndLongestNamesTravelWhole) {
    const std::string odd = dir.write("f/a, \"b\" <c>&\nd\xFF.e.txt", "x");
    const std::string longest = dir.write("f/" + std::string(251, 'n') + ".txt", "x");
    ops().makeShortcuts({odd, longest}, "");
    const auto oddLink = ShellLink::load(dir / "f/a, \"b\" <c>&\nd\xFF.e.lnk");
    ASSERT_TRUE(oddLink);
    EXPECT_EQ(oddLink->targetPath, odd);
    EXPECT_EQ(oddLink->workingDirectory, dir / "f");
    const auto longLink = ShellLink::load(dir / ("f/" + std::string(251, 'n') + ".lnk"));
    ASSERT_TRUE(longLink);
    EXPECT_EQ(longLink->targetPath, longest);
}

TEST_F(ShortcutMakerTest, TheLinkNameReplacesTheExtensionOnly) {
    EXPECT_EQ(ShortcutMaker::linkName("report.txt", 1), "report.lnk");
    EXPECT_EQ(ShortcutMaker::linkName("notes", 1), "notes.lnk");
    EXPECT_EQ(ShortcutMaker::linkName(".profile", 1), ".profile.lnk");
    EXPECT_EQ(ShortcutMaker::linkName("a.tar.gz", 3), "a.tar (3).lnk");
}

} // namespace
