#include "actions/ActionDispatcher.h"
#include "actions/ActionsFixture.h"
#include "actions/ShellHandOff.h"
#include "platform/desktop/ShellLink.h"

#include <unistd.h>

namespace {

class ActionDispatcherTest : public ActionsFixture {
  protected:
    void SetUp() override {
        dir.mkdir("r/sub");
        dir.mkdir("r/sub2");
        dir.write("r/a, b.txt", "");
        dir.write("r/c d.txt", "");
        dir.mkdir("dest");
        browser.setRoot(dir / "r");
        selectRows({"sub", "a, b.txt", "c d.txt"});
    }
    // Everything the action did, in the order of its kinds.
    std::vector<std::string> outcome() {
        std::vector<std::string> all = opened;
        all.insert(all.end(), actions.calls.begin(), actions.calls.end());
        for (const auto& call : folderPicker.calls)
            all.push_back("picker " + call.title);
        for (const auto& call : opener.calls)
            all.push_back(call.kind + " " + call.target);
        if (clipboard.text)
            all.push_back("clipboard " + *clipboard.text);
        return all;
    }
    void reset() {
        opened.clear();
        actions.calls.clear();
        folderPicker.calls.clear();
        opener.calls.clear();
        clipboard.text.reset();
    }
};

struct Case {
    const char* group;
    int index;
    bool tree;
    std::vector<std::string> expected;
};

TEST_F(ActionDispatcherTest, EveryFamilyAndIndexReachesItsAction) {
    // Paths are joined, never found in a text: a temporary folder's name can hold anything.
    const auto R = [this](const std::string& name) { return dir / ("r/" + name); };
    const std::string all = "[" + R("sub") + "][" + R("a, b.txt") + "][" + R("c d.txt") + "]";
    const std::string dest = dir / "dest";
    const std::vector<Case> cases{
        {"Fold", 0, false, {"before", "explore " + R("sub")}},
        {"Fold",
         1,
         false,
         {"before", "plain open " + R("sub"), "plain open " + R("a, b.txt"),
          "plain open " + R("c d.txt")}},
        {"Fold", 2, false, {"before", "find"}},
        {"Fold", 3, false, {}},
        {"Fold", 4, false, {}},
        {"Fold", 5, false, {}},
        {"Fold", 6, false, {"cut " + all}},
        {"Fold", 7, false, {"copy " + all}},
        {"Fold", 8, false, {"ClpPast list"}},
        {"Fold", 9, false, {}},
        {"Fold", 10, false, {}},
        {"Fold", 11, false, {}},
        {"Fold", 12, false, {"MkLnk [" + R("sub") + "] to "}},
        {"Fold", 13, false, {"DelSlc " + all + " list"}},
        {"Fold", 14, false, {"RenSlc list"}},
        {"Fold", 15, false, {}},
        {"Fold", 16, false, {"MkNwFld list"}},
        {"fOLD", 13, true, {"DelSlc [" + dir.path() + "/r] tree"}},
        {"Fold", 0, true, {"before", "explore " + dir.path() + "/r"}},
        {"Fold", 8, true, {"ClpPast tree"}},
        {"Opt", 2, false, {"picker ﾌｫﾙﾀﾞの指定"}},
        {"Opt", 4, false, {"FlOpr 複写 " + all + " to " + dest, "trRfPh " + dest, "picker 複写先"}},
        {"Opt", 5, false, {"FlOpr 移動 " + all + " to " + dest, "trRfPh " + dest, "picker 移動先"}},
        {"Opt", 6, false, {}},
        {"Opt", 7, false, {"MkLnk " + all + " to " + dest, "picker 作成先"}},
        {"Opt", 8, false, {"MkLnk " + all + " to *"}},
        {"Opt", 9, false, {}},
        {"Opt", 10, false, {"clipboard " + R("sub") + "\r" + R("a, b.txt") + "\r" + R("c d.txt")}},
        {"opt", 11, false, {"ClpLst"}},
        {"Other", 7, false, {}},
        {"", 7, false, {}},
    };
    for (const Case& c : cases) {
        reset();
        folderPicker.answers = {dest};
        browser.performAction(c.group, c.index, "", c.tree ? Pane::Tree : Pane::List);
        EXPECT_EQ(outcome(), c.expected)
            << c.group << " " << c.index << (c.tree ? " tree" : " list");
    }
}

TEST_F(ActionDispatcherTest, CancelledChooserAndFailedCopyStopTheAction) {
    browser.performAction("Opt", 4, "", Pane::List);
    actions.flOprResult = false;
    folderPicker.answers = {dir / "dest"};
    browser.performAction("Opt", 5, "", Pane::List);
    EXPECT_EQ(actions.calls.size(), 1u);
    EXPECT_EQ(actions.calls[0].rfind("FlOpr 移動 ", 0), 0u);
}

TEST_F(ActionDispatcherTest, MasksSelectTheTwoDigitNumbersWrittenInThem) {
    const std::vector<std::pair<std::string, std::vector<int>>> masks{
        {"02.08.10.14.16", {2, 8, 10, 14, 16}},
        {"06.07.13", {6, 7, 13}},
        {"12.14ﾞ", {12, 14}},
        {"02.04.05.07", {2, 4, 5, 7}},
        {"00,04.05.07.08.10.13", {0, 4, 5, 7, 8, 10, 13}}};
    for (const auto& [mask, hits] : masks) {
        std::vector<int> found;
        for (int i = -1; i <= 17; ++i)
            if (ActionDispatcher::inMask(mask, i))
                found.push_back(i);
        EXPECT_EQ(found, hits) << mask;
    }
}

TEST_F(ActionDispatcherTest, ItemsGoneFromTheDiskAreLeftOut) {
    ::unlink((dir / "r/a, b.txt").c_str());
    browser.performAction("Fold", 7, "", Pane::List);
    ::rmdir((dir / "r/sub").c_str());
    ::unlink((dir / "r/c d.txt").c_str());
    browser.performAction("Fold", 13, "", Pane::List);
    browser.performAction("Fold", 1, "", Pane::List);
    EXPECT_EQ(outcome(), (std::vector<std::string>{"copy [" + (dir / "r/sub") + "][" +
                                                   (dir / "r/c d.txt") + "]"}));
}

TEST_F(ActionDispatcherTest, SendToGivesEachPathAsOneArgumentAndRecordsIt) {
    dir.write("bin/tool", "#!/bin/sh\n");
    dir.mkdir("data/Quorvale/SendTo");
    ASSERT_TRUE(ShellLink::save(dir / "data/Quorvale/SendTo/Tool.lnk", dir / "bin/tool", ""));
    ASSERT_TRUE(ShellLink::save(dir / "data/Quorvale/SendTo/Gone.lnk", dir / "bin/gone", ""));
    selectRows({"c d.txt"});
    browser.performAction("Send", 0, "Gone", Pane::List);
    const RecentLists& recent = browser.recent();
    EXPECT_EQ((recent.savedRecentPrograms() + recent.savedRecentFiles()).find("c d.txt"),
              std::string::npos)
        << "a target that did not start records nothing";
    selectRows({"a, b.txt", "c d.txt"});
    browser.performAction("Send", 0, "Tool", Pane::List);
    ASSERT_EQ(opener.calls.size(), 1u);
    EXPECT_EQ(opener.calls[0].target, dir / "bin/tool");
    EXPECT_EQ(opener.calls[0].arguments,
              (std::vector<std::string>{dir / "r/a, b.txt", dir / "r/c d.txt"}));
    EXPECT_EQ(opened, (std::vector<std::string>{"before", "before"}));
    EXPECT_NE(browser.recent().savedRecentFiles().find("," + (dir / "r/c d.txt") + ","),
              std::string::npos)
        << "each path is recorded on its own, never the joined arguments";
}

TEST_F(ActionDispatcherTest, SystemFoldersAreExploredThroughTheHandOff) {
    EnvVar config{"XDG_CONFIG_HOME", dir / "cfg"};
    dir.mkdir("cfg/Quorvale"); // an absent special folder would open the chooser
    browser.performAction("SyE", 3, "", Pane::List);
    browser.performAction("sye", 4, "", Pane::List);
    browser.performAction("SyE", 5, "", Pane::List); // no path: the chooser, cancelled
    EXPECT_EQ(outcome(), (std::vector<std::string>{"before", "explore " + (dir / "cfg/Quorvale"),
                                                   "picker ﾌｫﾙﾀﾞの指定"}));
    EXPECT_EQ(ShellHandOff::systemFolderOf(0), SystemFolder::Desktop);
    EXPECT_EQ(ShellHandOff::systemFolderOf(17), std::nullopt);
}

} // namespace
