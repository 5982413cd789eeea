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
    BrowserCommand command;
    Pane pane;
    std::vector<std::string> expected;
};

TEST_F(ActionDispatcherTest, EveryCommandReachesItsAction) {
    // Paths are joined, never found in a text: a temporary folder's name can hold anything.
    const auto R = [this](const std::string& name) { return dir / ("r/" + name); };
    const std::string all = "[" + R("sub") + "][" + R("a, b.txt") + "][" + R("c d.txt") + "]";
    const std::string dest = dir / "dest";
    using enum BrowserCommand;
    const Pane list = Pane::List;
    const std::vector<Case> cases{
        {Explore, list, {"before", "explore " + R("sub")}},
        {Open,
         list,
         {"before", "plain open " + R("sub"), "plain open " + R("a, b.txt"),
          "plain open " + R("c d.txt")}},
        {Find, list, {"before", "find"}},
        {Cut, list, {"cut " + all}},
        {Copy, list, {"copy " + all}},
        {Paste, list, {"ClpPast list"}},
        {MakeShortcut, list, {"MkLnk [" + R("sub") + "] to "}},
        {Delete, list, {"DelSlc " + all + " list"}},
        {Rename, list, {"RenSlc list"}},
        {NewFolder, list, {"MkNwFld list"}},
        {Delete, Pane::Tree, {"DelSlc [" + dir.path() + "/r] tree"}},
        {Explore, Pane::Tree, {"before", "explore " + dir.path() + "/r"}},
        {Paste, Pane::Tree, {"ClpPast tree"}},
        {CopyTo, list, {"FlOpr 複写 " + all + " to " + dest, "trRfPh " + dest, "picker 複写先"}},
        {MoveTo, list, {"FlOpr 移動 " + all + " to " + dest, "trRfPh " + dest, "picker 移動先"}},
        {MakeShortcutIn, list, {"MkLnk " + all + " to " + dest, "picker 作成先"}},
        {MakeShortcutAndCut, list, {"MkLnk " + all + " to *"}},
        {CopyPathNames,
         list,
         {"clipboard " + R("sub") + "\r" + R("a, b.txt") + "\r" + R("c d.txt")}},
        {CopyListAsText, list, {"ClpLst"}},
    };
    for (const Case& c : cases) {
        reset();
        folderPicker.answers = {dest};
        browser.perform(c.command, c.pane);
        EXPECT_EQ(outcome(), c.expected)
            << static_cast<int>(c.command) << (c.pane == Pane::Tree ? " tree" : " list");
    }
}

TEST_F(ActionDispatcherTest, CancelledChooserAndFailedCopyStopTheAction) {
    browser.perform(BrowserCommand::CopyTo, Pane::List);
    actions.flOprResult = false;
    folderPicker.answers = {dir / "dest"};
    browser.perform(BrowserCommand::MoveTo, Pane::List);
    EXPECT_EQ(actions.calls.size(), 1u);
    EXPECT_EQ(actions.calls[0].rfind("FlOpr 移動 ", 0), 0u);
}

TEST_F(ActionDispatcherTest, ItemsGoneFromTheDiskAreLeftOut) {
    ::unlink((dir / "r/a, b.txt").c_str());
    browser.perform(BrowserCommand::Copy, Pane::List);
    ::rmdir((dir / "r/sub").c_str());
    ::unlink((dir / "r/c d.txt").c_str());
    browser.perform(BrowserCommand::Delete, Pane::List);
    browser.perform(BrowserCommand::Open, Pane::List);
    EXPECT_EQ(outcome(), (std::vector<std::string>{"copy [" + (dir / "r/sub") + "][" +
                                                   (dir / "r/c d.txt") + "]"}));
}

TEST_F(ActionDispatcherTest, SendToGivesEachPathAsOneArgumentAndRecordsIt) {
    dir.write("bin/tool", "#!/bin/sh\n");
    dir.mkdir("data/Quorvale/SendTo");
    ASSERT_TRUE(ShellLink::save(dir / "data/Quorvale/SendTo/Tool.lnk", dir / "bin/tool", ""));
    ASSERT_TRUE(ShellLink::save(dir / "data/Quorvale/SendTo/Gone.lnk", dir / "bin/gone", ""));
    selectRows({"c d.txt"});
    browser.perform(BrowserCommand::SendTo, Pane::List, "Gone");
    const RecentLists& recent = browser.recent();
    EXPECT_EQ((recent.savedRecentPrograms() + recent.savedRecentFiles()).find("c d.txt"),
              std::string::npos)
        << "a target that did not start records nothing";
    selectRows({"a, b.txt", "c d.txt"});
    browser.perform(BrowserCommand::SendTo, Pane::List, "Tool");
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
    browser.exploreSystemFolder({SystemFolder::AppData, true});
    browser.exploreSystemFolder({SystemFolder::Computer}); // no path: the chooser, cancelled
    EXPECT_EQ(outcome(), (std::vector<std::string>{"before", "explore " + (dir / "cfg/Quorvale"),
                                                   "picker ﾌｫﾙﾀﾞの指定"}));
}

} // namespace
