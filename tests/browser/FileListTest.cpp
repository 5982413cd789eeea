#include "browser/BrowserFixture.h"
#include "browser/ListTexts.h"
#include "controls/RecordingObservers.h"
#include "support/Unprivileged.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class FileListTest : public BrowserFixture {
  protected:
    void SetUp() override {
        dir.mkdir("f/sub");
        dir.write("f/a.TXT", std::string(400, 'x'));
        dir.write("f/b.doc", std::string(1500000, 'x'));
        browser.setRoot(dir / "f");
    }
    std::vector<std::string> keys() {
        std::vector<std::string> out;
        auto& list = browser.controls().listControl;
        for (int i = 1; i <= list.count(); ++i)
            out.emplace_back(list.itemAt(i)->key());
        return out;
    }
    void tick() { timer.tick(); }
};

TEST_F(FileListTest, RowsCarryKeysTagsColumnsAndTooltips) {
    EXPECT_EQ(keys(), (std::vector<std::string>{"L001", "L002", "L003"}));
    ListItem* sub = row("sub");
    EXPECT_EQ(sub->tag(), "FD");
    EXPECT_EQ(sub->columnText(2), "");
    EXPECT_EQ(sub->columnText(3), "Dsub");
    EXPECT_EQ(sub->icon(), "ICON:folder");
    ListItem* a = row("a.TXT");
    EXPECT_EQ(a->tag(), "FL");
    EXPECT_EQ(a->columnText(2), "         KB");
    EXPECT_EQ(a->columnText(3), "La.TXT");
    EXPECT_EQ(a->icon(), "ICON:type-TXT");
    EXPECT_EQ(a->toolTip().substr(0, 7), "更新:");
    EXPECT_NE(a->toolTip().find(" ｻｲｽﾞ:400"), std::string::npos);
    EXPECT_EQ(row("b.doc")->columnText(2), "   1,500 KB");
    EXPECT_EQ(a->columnText(1).size(), 14u);
    EXPECT_EQ(a->foreColour(), std::nullopt);
    EXPECT_TRUE(browser.controls().imgLst.exists("ICON:type-doc"));
}

TEST_F(FileListTest, ReconciliationHighlightsNewRowsRemovesVanishedOnesAndKeepsTheRest) {
    auto& list = browser.controls().listControl;
    list.setCurrent(row("b.doc"), true);
    ::unlink((dir / "f/a.TXT").c_str());
    dir.write("f/c.txt", "");
    dir.mkdir("f/newdir");
    tick();
    EXPECT_EQ(listTexts(), (std::vector<std::string>{"sub", "b.doc", "newdir", "c.txt"}));
    EXPECT_EQ(row("newdir")->foreColour(), FileList::kHighlight);
    EXPECT_EQ(row("c.txt")->foreColour(), FileList::kHighlight);
    EXPECT_EQ(row("newdir")->key(), "L004") << "keys continue after the fill";
    EXPECT_EQ(row("c.txt")->key(), "L005");
    EXPECT_TRUE(row("b.doc")->selected());
    EXPECT_EQ(row("b.doc")->columnText(2), "   1,500 KB") << "a size found again keeps its form";
    tick();
    EXPECT_EQ(list.count(), 4) << "an unchanged folder changes nothing";
}

TEST_F(FileListTest, ALargeFolderIsReconciledRowForRow) {
    // Enough rows that look-ups run ahead of each other, with rows vanishing, arriving,
    // growing and changing kind in between.
    for (int i = 0; i < 120; ++i)
        dir.write("f/n" + std::to_string(i), "");
    tick();
    std::set<std::string> expected{"sub", "a.TXT", "b.doc"};
    for (int i = 0; i < 120; ++i) {
        const std::string name = "n" + std::to_string(i);
        if (i % 7 == 0) {
            ::unlink((dir / ("f/" + name)).c_str());
            continue;
        }
        if (i % 11 == 0) {
            ::unlink((dir / ("f/" + name)).c_str());
            dir.mkdir("f/" + name);
        } else if (i % 5 == 0) {
            dir.write("f/" + name, std::string(static_cast<std::size_t>(i) * 1000, 'x'));
        }
        expected.insert(name);
    }
    dir.write("f/n1000", "");
    expected.insert("n1000");
    tick();
    const std::vector<std::string> shown = listTexts();
    EXPECT_EQ(std::set<std::string>(shown.begin(), shown.end()), expected);
    EXPECT_EQ(shown.size(), expected.size());
    EXPECT_EQ(row("n22")->tag(), "FD");
    EXPECT_EQ(row("n25")->columnText(2), "      25 KB");
    EXPECT_EQ(row("n26")->columnText(2), "         KB");
}

TEST_F(FileListTest, AnEntryThatChangedItsKindIsReplacedAndChangesArriveAsOneNotice) {
    auto& list = browser.controls().listControl;
    RecordingListObserver observer;
    list.addObserver(&observer);
    ::rmdir((dir / "f/sub").c_str());
    dir.write("f/sub", "now a file");
    dir.write("f/A.txt", "differs from a.TXT only in case");
    dir.write("f/a.TXT", std::string(2500, 'x'));
    dir.write("f/b.doc", std::string(2500000, 'x'));
    tick();
    list.removeObserver(&observer);
    EXPECT_EQ(listTexts(), (std::vector<std::string>{"a.TXT", "b.doc", "A.txt", "sub"}));
    EXPECT_EQ(row("sub")->tag(), "FL");
    EXPECT_EQ(row("sub")->foreColour(), FileList::kHighlight);
    EXPECT_EQ(row("a.TXT")->columnText(2), "       3 KB");
    EXPECT_EQ(std::count(observer.events.begin(), observer.events.end(), "changed"), 0);
    EXPECT_NE(std::find(observer.events.begin(), observer.events.end(), "changed 1-2"),
              observer.events.end());
}

TEST_F(FileListTest, AFileMadeWhileTheListIsFilledShowsAtTheNextTick) {
    bool made = false;
    loop.duringEvents = [&] {
        if (!made)
            dir.write("f/late.txt", "");
        made = true;
    };
    browser.list().fillList(dir / "f", false);
    loop.duringEvents = nullptr;
    ASSERT_EQ(row("late.txt"), nullptr) << "made after the folder was read";
    tick();
    EXPECT_NE(row("late.txt"), nullptr);
}

TEST_F(FileListTest, FilterChangesAreReconciled) {
    browser.setFilter("txt");
    browser.list().refreshList();
    EXPECT_EQ(listTexts(), (std::vector<std::string>{"sub", "a.TXT"}));
    browser.setFilter("");
    browser.list().refreshList();
    EXPECT_EQ(listTexts(), (std::vector<std::string>{"sub", "a.TXT", "b.doc"}));
}

TEST_F(FileListTest, RefillingKeepsASelectedFileSelectedButNotAFolder) {
    auto& list = browser.controls().listControl;
    list.setCurrent(row("b.doc"), true);
    browser.list().fillList(dir / "f", false);
    ASSERT_TRUE(list.current());
    EXPECT_EQ(list.current()->text(), "b.doc");
    EXPECT_TRUE(list.current()->selected());
    list.clearSelection();
    list.setCurrent(row("sub"), true);
    browser.list().fillList(dir / "f", false);
    EXPECT_TRUE(list.selectedItems().empty());
}

TEST_F(FileListTest, HeaderClicksSortAscendingThenDescendingWithHeaderImages) {
    dir.mkdir("f/zdir");
    browser.list().fillList(dir / "f", false);
    auto& list = browser.controls().listControl;
    browser.listHeaderClicked(1);
    EXPECT_EQ(listTexts(), (std::vector<std::string>{"sub", "zdir", "a.TXT", "b.doc"}));
    EXPECT_EQ(list.column(0).headerImage, "Up");
    browser.listHeaderClicked(1);
    EXPECT_EQ(listTexts(), (std::vector<std::string>{"b.doc", "a.TXT", "zdir", "sub"}));
    EXPECT_EQ(list.column(0).headerImage, "Down");
    browser.listHeaderClicked(3);
    EXPECT_EQ(list.column(0).headerImage, "Null");
    EXPECT_EQ(list.column(2).headerImage, "Up");
    EXPECT_EQ(row("sub")->row() + row("zdir")->row(), 1) << "empty sizes of folders come first";
    browser.listHeaderClicked(3);
    browser.listHeaderClicked(3);
    EXPECT_EQ(list.column(2).headerImage, "Up") << "the third click sorts ascending again";
}

TEST_F(FileListTest, TicksDoNothingWhileBusyAndFollowTheListFolder) {
    dir.write("f/late.txt", "");
    BrowserState& state = const_cast<BrowserState&>(browser.state());
    state.busy = true;
    tick();
    EXPECT_FALSE(row("late.txt"));
    state.busy = false;
    tick();
    EXPECT_TRUE(row("late.txt"));
    EXPECT_EQ(timer.interval, 1500);
}

TEST_F(FileListTest, TreeOnlyViewPicksUpNewRootFoldersOnATick) {
    browser.showList(false);
    dir.mkdir("f/added");
    tick();
    EXPECT_EQ(childTexts(browser.controls().treeControl.firstNode()),
              (std::vector<std::string>{"added", "sub", "a.TXT", "b.doc"}));
}

TEST_F(FileListTest, AFolderThatCannotBeReadSaysSoWhenListedNotAtTicks) {
    dir.write("f/sub/inside.txt", "");
    EXPECT_TRUE(asUnprivileged(dir.path(), [&] {
        ::chmod((dir / "f/sub").c_str(), 0300);
        press(dir / "f/sub");
        dir.write("f/sub/new.txt", "");
        tick();
        tick();
        const std::string said = "「" + (dir / "f/sub") + "」の内容を読み取れません。\r" +
                                 "ｱｸｾｽが拒否されました (" + std::strerror(EACCES) + ")";
        for (const std::string& text : messages.shown)
            std::cerr << "shown: " << text << "\n";
        return listTexts().empty() && messages.shown == std::vector<std::string>{said};
    }));
}

TEST_F(FileListTest, AVanishedListFolderTakesItsRowsAndIsListedWhenItReturns) {
    dir.mkdir("f/sub/inner");
    press(dir / "f/sub");
    ::rmdir((dir / "f/sub/inner").c_str());
    ::rmdir((dir / "f/sub").c_str());
    tick();
    EXPECT_EQ(browser.state().listFolder, "");
    EXPECT_TRUE(listTexts().empty());
    tick();
    dir.write("f/sub/back.txt", "");
    tick();
    EXPECT_EQ(listTexts(), (std::vector<std::string>{"back.txt"}));
    EXPECT_EQ(browser.state().listFolder, dir / "f/sub");
    EXPECT_TRUE(messages.shown.empty());
}

} // namespace
