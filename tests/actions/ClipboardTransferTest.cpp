#include "actions/FakeClipboard.h"
#include "actions/FileOperations.h"
#include "actions/RecordingService.h"
#include "browser/BrowserFixture.h"
#include "browser/ListTexts.h"

#include <filesystem>

namespace {

class ClipboardTransferTest : public BrowserFixture {
  protected:
    void SetUp() override {
        dir.mkdir("f/sub");
        dir.write("f/x.txt", "x");
        source = dir.write("src/a, b 日本.txt", "a");
        browser.setRoot(dir / "f");
        ops().setService(&service);
        ops().setClipboard(&clipboard);
        clipboard.files = {{source}, ClipEffect::Copy};
    }
    FileOperations& ops() { return browser.fileOperations(); }
    BrowserState& state() { return const_cast<BrowserState&>(browser.state()); }
    // Stands for the right-click that recorded the node or row the paste goes to.
    void pressed(const std::string& nodePath, const std::string& rowName) {
        state().pointedKey = nodePath.empty() ? "" : nodeAtPath(dir / nodePath)->key();
        state().trackedItem =
            rowName.empty() ? 0 : browser.controls().listControl.indexOf(row(rowName));
    }

    RecordingService service;
    FakeClipboard clipboard;
    std::string source;
};

TEST_F(ClipboardTransferTest, PasteGoesWhereTheUserRightClickedAndNeverOntoAFile) {
    struct Case {
        const char* what;
        Pane pane;
        std::string node, row, target; // target "": nothing pasted
    };
    const Case cases[] = {
        {"tree node", Pane::Tree, "f/sub", "", "f/sub"},
        {"tree space without a node", Pane::Tree, "", "", ""},
        {"folder row", Pane::List, "", "sub", "f/sub"},
        {"file row", Pane::List, "", "x.txt", ""},
        {"empty list space", Pane::List, "", "", "f"},
    };
    for (const Case& c : cases) {
        service.requests.clear();
        pressed(c.node, c.row);
        ops().pasteFiles(c.pane);
        if (c.target.empty()) {
            EXPECT_TRUE(service.requests.empty()) << c.what;
            continue;
        }
        ASSERT_EQ(service.requests.size(), 1u) << c.what;
        EXPECT_EQ(service.requests[0].destination, dir / c.target) << c.what;
        EXPECT_EQ(service.requests[0].sources, std::vector<std::string>{source}) << c.what;
        EXPECT_EQ(service.requests[0].kind, FileOperationKind::Copy) << c.what;
    }
}

TEST_F(ClipboardTransferTest, ACutListIsMovedWholeAndStaysOnTheClipboard) {
    const std::string longPath = "/" + std::string(300, 'n') + "/" + std::string(900, 'm') + ",x";
    clipboard.files = {{longPath, source}, ClipEffect::Move};
    pressed("", "");
    ops().pasteFiles(Pane::List);
    ASSERT_EQ(service.requests.size(), 1u);
    EXPECT_EQ(service.requests[0].kind, FileOperationKind::Move);
    EXPECT_EQ(service.requests[0].sources, (std::vector<std::string>{longPath, source}));
    EXPECT_EQ(clipboard.files.paths.size(), 2u);
    EXPECT_EQ(clipboard.files.effect, ClipEffect::Move);
}

TEST_F(ClipboardTransferTest, ASuccessfulPasteShowsTheNewFileAndAFailedOneLeavesThePanes) {
    service.effect = [](const FileOperationRequest& request) {
        for (const std::string& from : request.sources)
            std::filesystem::copy_file(from, request.destination + "/" +
                                                 std::filesystem::path(from).filename().string());
    };
    service.result = false;
    pressed("", "");
    ops().pasteFiles(Pane::List);
    EXPECT_FALSE(row("a, b 日本.txt")) << "not reconciled after a failure";
    std::filesystem::remove(dir / "f/a, b 日本.txt");
    service.result = true;
    ops().pasteFiles(Pane::List);
    EXPECT_TRUE(row("a, b 日本.txt"));
}

TEST_F(ClipboardTransferTest, TheListingOfAnEmptyFolderIsTheHeaderAlone) {
    dir.mkdir("empty");
    browser.setRoot(dir / "empty");
    ops().copyListAsText();
    EXPECT_EQ(clipboard.text, "名前\t更新日\tｻｲｽﾞ\r");
}

TEST_F(ClipboardTransferTest, TheListingHasFourFieldsARowEachLineEndedByCr) {
    const std::string file = dir.write("one/a.txt", "12345");
    browser.setRoot(dir / "one");
    ops().copyListAsText();
    const auto record = FileSystem::getFile(file);
    ASSERT_TRUE(record);
    EXPECT_EQ(clipboard.text, "名前\t更新日\tｻｲｽﾞ\r"
                              "a.txt\t" +
                                  ListTexts::modified(record->modified) + "\t" +
                                  ListTexts::sizeKb(5) + "\tLa.txt\r");
}

} // namespace
