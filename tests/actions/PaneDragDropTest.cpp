#include "actions/ActionsFixture.h"
#include "actions/EngineService.h"
#include "browser/TreeWatch.h"
#include "platform/FileOperationService.h"
#include "platform/fs/FileSystem.h"

#include <filesystem>

namespace {

constexpr KeyModifiers kNone{};
constexpr KeyModifiers kShift{true, false, false};
constexpr KeyModifiers kCtrl{false, true, false};
constexpr KeyModifiers kShiftCtrl{true, true, false};
constexpr KeyModifiers kAlt{false, false, true};
constexpr KeyModifiers kShiftAlt{true, false, true};

const std::string kOddName = "x, y\nz \xff.txt"; // comma, blank, line break, not UTF-8

// A browser on "r" (folders a with a subfolder, b, c; files f.txt and one with an odd
// name), listing "r", and items in "out" to drop.
class PaneDragDropTest : public ActionsFixture {
  protected:
    void SetUp() override {
        dir.mkdir("r/a/inner");
        dir.mkdir("r/c");
        dir.mkdir("r/b");
        dir.write("r/f.txt", "f");
        dir.write("r/" + kOddName, "odd");
        dir.write("out/one.txt", "1");
        dir.write("out/" + kOddName, "2");
        browser.setRoot(dir / "r");
        press(dir / "r");
    }
    std::string keyAt(const std::string& relative) { return nodeAtPath(dir / relative)->key(); }
    std::vector<std::string> dropped() const {
        return {dir / "out/one.txt", dir / "out" + "/" + kOddName};
    }
    std::string flOpr(const std::string& word, const std::string& relative) const {
        return "FlOpr " + word + " [" + dir / "out/one.txt" + "][" + dir / "out" + "/" + kOddName +
               "] to " + dir / relative;
    }
    bool treeBold(const std::string& relative) { return nodeAtPath(dir / relative)->bold(); }
    std::vector<std::string> boldRows() {
        std::vector<std::string> names;
        for (const std::string& name : listTexts())
            if (row(name)->bold())
                names.push_back(name);
        return names;
    }
};

struct DropCase {
    const char* what;
    bool tree;
    std::string at; // tree: node folder under dir; list: row name; "" for none
    KeyModifiers modifiers;
    std::string into; // folder under dir; "" when nothing is done
    DropOutcome outcome;
};

TEST_F(PaneDragDropTest, DropTargetsAndTheShiftRule) {
    const std::vector<DropCase> cases = {
        {"folder node", true, "r/b", kNone, "r/b", DropOutcome::Copied},
        {"folder node, Shift alone moves", true, "r/b", kShift, "r/b", DropOutcome::Moved},
        {"Ctrl copies", true, "r/b", kCtrl, "r/b", DropOutcome::Copied},
        {"Shift+Ctrl copies", true, "r/b", kShiftCtrl, "r/b", DropOutcome::Copied},
        {"Alt copies", true, "r/b", kAlt, "r/b", DropOutcome::Copied},
        {"Shift+Alt copies", true, "r/b", kShiftAlt, "r/b", DropOutcome::Copied},
        {"root node", true, "r", kNone, "r", DropOutcome::Copied},
        {"outside every node", true, "", kShift, "", DropOutcome::Nothing},
        {"folder row: into it", false, "b", kNone, "r/b", DropOutcome::Copied},
        {"folder row, Shift", false, "b", kShift, "r/b", DropOutcome::Moved},
        {"file row: the listed folder", false, "f.txt", kNone, "r", DropOutcome::Copied},
        {"empty space: the listed folder", false, "", kCtrl, "r", DropOutcome::Copied},
    };
    for (const DropCase& c : cases) {
        actions.calls.clear();
        std::string key;
        if (!c.at.empty())
            key = c.tree ? keyAt(c.at) : keyOf(c.at);
        const DropOutcome outcome = c.tree ? browser.treeDropped(key, dropped(), c.modifiers)
                                           : browser.listDropped(key, dropped(), c.modifiers);
        EXPECT_EQ(outcome, c.outcome) << c.what;
        std::vector<std::string> expected;
        if (!c.into.empty()) {
            const bool move = c.outcome == DropOutcome::Moved;
            expected.push_back(flOpr(move ? "移動" : "複写", c.into));
            if (move)
                expected.push_back("trRfPh " + dir / "out"); // the folder they left
        }
        EXPECT_EQ(actions.calls, expected) << c.what;
    }
    EXPECT_EQ(loop.waitDepth, 0);
}

TEST_F(PaneDragDropTest, NothingIsReportedDoneWhenTheOperationFails) {
    actions.flOprResult = false;
    EXPECT_EQ(browser.treeDropped(keyAt("r/b"), dropped(), kShift), DropOutcome::Nothing);
    EXPECT_EQ(browser.listDropped(keyOf("b"), dropped(), kNone), DropOutcome::Nothing);
    EXPECT_EQ(actions.calls.size(), 2u) << "tried, but nothing reconciled";
    EXPECT_EQ(browser.treeDropped(keyAt("r/b"), {}, kNone), DropOutcome::Nothing);
    EXPECT_EQ(actions.calls.size(), 2u) << "a drop without a file list is ignored";
}

TEST_F(PaneDragDropTest, TreeDragOffersThePressedNodeAndAFolderOnItselfIsNoDrop) {
    browser.treeMousePressed({}, MouseButton::Left, {});
    EXPECT_TRUE(browser.treeDragStarting().empty()) << "no pressed node";
    browser.controls().treeControl.select(nodeAtPath(dir / "r/b"));
    press(dir / "r/a");
    const std::vector<std::string> paths = browser.treeDragStarting();
    EXPECT_EQ(paths, (std::vector<std::string>{dir / "r/a"})) << "the pressed, not the selected";
    EXPECT_EQ(nodeAtPath(dir / "r/a")->backColour(), TreeWatch::kDraggedBack);

    EXPECT_EQ(browser.treeDropped(keyAt("r/a"), paths, kShift), DropOutcome::Nothing);
    EXPECT_TRUE(actions.calls.empty());
    EXPECT_EQ(nodeAtPath(dir / "r/a")->backColour(), std::nullopt) << "the drop restores it";
    EXPECT_TRUE(browser.state().pointedKey.empty());

    // A name that differs only in case is another folder here.
    EXPECT_EQ(browser.treeDropped(keyAt("r/a"), {dir / "r/A"}, kNone), DropOutcome::Copied);
    EXPECT_EQ(browser.treeDropped(keyAt("r/a"), {dir / "r/a/"}, kNone), DropOutcome::Nothing);
    // Into its own subfolder: the file operation refuses that itself.
    browser.treeNodeExpanding(keyAt("r/a"));
    EXPECT_EQ(browser.treeDropped(keyAt("r/a/inner"), paths, kNone), DropOutcome::Copied);
    EXPECT_EQ(actions.calls, (std::vector<std::string>{
                                 "FlOpr 複写 [" + dir / "r/A" + "] to " + dir / "r/a",
                                 "FlOpr 複写 [" + dir / "r/a" + "] to " + dir / "r/a/inner"}));
}

TEST_F(PaneDragDropTest, ListDragOffersTheSelectedRowsInListOrder) {
    selectRows({kOddName, "b"});
    EXPECT_EQ(browser.listDragStarting(),
              (std::vector<std::string>{dir / "r/b", dir / "r" + "/" + kOddName}));
    browser.controls().listControl.clearSelection();
    EXPECT_TRUE(browser.listDragStarting().empty());
}

TEST_F(PaneDragDropTest, HoveredFolderIsBoldAndTheTickOpensIt) {
    browser.treeDragOver(keyAt("r/a"), DragState::Enter);
    EXPECT_FALSE(treeBold("r/a")) << "only a drag moving over a node marks it";
    browser.treeDragOver(keyAt("r/b"), DragState::Over);
    browser.treeDragOver(keyAt("r/a"), DragState::Over);
    EXPECT_FALSE(treeBold("r/b"));
    EXPECT_TRUE(treeBold("r/a"));
    EXPECT_FALSE(nodeAtPath(dir / "r/a")->expanded());
    timer.tick();
    EXPECT_TRUE(nodeAtPath(dir / "r/a")->expanded());
    EXPECT_EQ(childTexts(nodeAtPath(dir / "r/a")), (std::vector<std::string>{"inner"}));
    browser.treeDragOver({}, DragState::Leave);
    EXPECT_FALSE(treeBold("r/a"));
    EXPECT_TRUE(browser.state().hoverKey.empty());

    browser.treeDragOver(keyAt("r/b"), DragState::Over);
    browser.treeDropped(keyAt("r/b"), dropped(), kNone);
    EXPECT_FALSE(treeBold("r/b")) << "the drop takes the mark away";
}

TEST_F(PaneDragDropTest, HoveredFolderRowIsBoldAndFileRowsAreNoTarget) {
    browser.listDragOver(keyOf("b"), DragState::Enter);
    EXPECT_TRUE(boldRows().empty());
    browser.listDragOver(keyOf("c"), DragState::Over);
    browser.listDragOver(keyOf("b"), DragState::Over);
    EXPECT_EQ(boldRows(), (std::vector<std::string>{"b"}));
    browser.listDragOver(keyOf("f.txt"), DragState::Over);
    EXPECT_TRUE(boldRows().empty());
    browser.listDragOver(keyOf("a"), DragState::Over);
    browser.listDropped(keyOf("a"), dropped(), kNone);
    EXPECT_TRUE(boldRows().empty());
    EXPECT_TRUE(browser.state().dropRowKey.empty());
}

TEST_F(PaneDragDropTest, TreeOnlyViewDragsFileNodesButNeverDropsOnThem) {
    browser.showList(false);
    TreeNode* fileNode = nullptr;
    for (TreeNode* n = nodeAtPath(dir / "r")->firstChild(); n; n = n->nextSibling())
        if (n->text() == "f.txt")
            fileNode = n;
    ASSERT_NE(fileNode, nullptr);
    const std::string key = fileNode->key();
    browser.treeDragOver(keyAt("r/b"), DragState::Over);
    browser.treeDragOver(key, DragState::Over);
    EXPECT_FALSE(treeBold("r/b"));
    EXPECT_EQ(browser.treeDropped(key, dropped(), kNone), DropOutcome::Nothing);
    EXPECT_TRUE(actions.calls.empty());

    browser.controls().treeControl.select(fileNode);
    browser.treeMousePressed(key, MouseButton::Right, {});
    EXPECT_EQ(browser.treeDragStarting(), (std::vector<std::string>{dir / "r/f.txt"}));
}

TEST_F(PaneDragDropTest, DropsReachTheDiskAndThePanesFollow) {
    EngineService service;
    browser.setFileOperationService(&service);
    browser.setFileActions(browser.fileOperations());
    std::filesystem::remove(dir / "r" + "/" + kOddName);

    EXPECT_EQ(browser.treeDropped(keyAt("r"), {dir / "out" + "/" + kOddName}, kNone),
              DropOutcome::Copied);
    EXPECT_EQ(TempDir::read(dir / "r" + "/" + kOddName), "2");
    EXPECT_TRUE(FileSystem::fileExists(dir / "out" + "/" + kOddName));
    EXPECT_NE(row(kOddName), nullptr) << "the listed folder is reconciled";

    EXPECT_EQ(browser.listDropped(keyOf("b"), {dir / "out/one.txt"}, kShift), DropOutcome::Moved);
    EXPECT_EQ(TempDir::read(dir / "r/b/one.txt"), "1");
    EXPECT_FALSE(FileSystem::fileExists(dir / "out/one.txt"));

    // A folder node moved onto another: its old node goes, the new one appears.
    EXPECT_EQ(browser.treeDropped(keyAt("r/b"), {dir / "r/a"}, kShift), DropOutcome::Moved);
    EXPECT_TRUE(FileSystem::folderExists(dir / "r/b/a/inner"));
    EXPECT_EQ(childTexts(nodeAtPath(dir / "r")), (std::vector<std::string>{"b", "c"}));
    EXPECT_EQ(childTexts(nodeAtPath(dir / "r/b")), (std::vector<std::string>{"a"}));
    EXPECT_EQ(row("a"), nullptr);
}

} // namespace
