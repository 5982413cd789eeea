#include "controls/DriveList.h"
#include "controls/ImageList.h"
#include "controls/KeyIndex.h"
#include "controls/MenuArray.h"
#include "controls/RetButtons.h"
#include "controls/Splitter.h"

#include <gtest/gtest.h>

TEST(MenuArrayTest, PlaceholderExistsAndNewItemsAreHiddenUntilShown) {
    MenuArray menu;
    std::vector<int> told;
    menu.setListener([&](int index) { told.push_back(index); });
    EXPECT_EQ(menu.count(), 1);
    EXPECT_EQ(menu.caption(0), "?");
    EXPECT_TRUE(menu.visible(0));
    EXPECT_FALSE(menu.exists(1));
    menu.ensure(2);
    EXPECT_TRUE(menu.exists(2));
    EXPECT_FALSE(menu.exists(1));
    EXPECT_FALSE(menu.visible(2));
    EXPECT_TRUE(menu.enabled(2));
    EXPECT_EQ(menu.caption(2), "");
    menu.ensure(2);
    menu.setCaption(2, "/home/u/a,b");
    menu.setVisible(2, true);
    menu.setChecked(0, true);
    menu.setEnabled(0, false);
    EXPECT_EQ(menu.caption(2), "/home/u/a,b");
    EXPECT_TRUE(menu.visible(2));
    EXPECT_TRUE(menu.checked(0));
    EXPECT_FALSE(menu.enabled(0));
    EXPECT_EQ(menu.upperBound(), 2);
    EXPECT_EQ(menu.indexes(), (std::vector<int>{0, 2}));
    EXPECT_EQ(told, (std::vector<int>{2, 2, 2, 0, 0}));
    // Hiding never destroys.
    menu.setVisible(2, false);
    EXPECT_EQ(menu.count(), 2);
    // Setting an item that does not exist creates it.
    menu.setCaption(5, "x");
    EXPECT_TRUE(menu.exists(5));
    EXPECT_FALSE(menu.visible(5));
}

TEST(MenuArrayTest, ArraysCanStartAboveZeroWithAHiddenPlaceholder) {
    MenuArray menu(4, "複写先を指定して複写", false);
    EXPECT_FALSE(menu.exists(0));
    EXPECT_EQ(menu.caption(4), "複写先を指定して複写");
    EXPECT_FALSE(menu.visible(4));
    EXPECT_EQ(menu.caption(0), "");
}

TEST(ImageListTest, DesignImagesComeFirstAndKeysAreAddedOnce) {
    ImageList images;
    EXPECT_EQ(images.keys(), (std::vector<std::string>{"Null", "Down", "Up", "FoldC", "new"}));
    EXPECT_TRUE(images.exists("Null"));
    EXPECT_EQ(images.iconName("Null"), "");
    EXPECT_FALSE(images.iconName("new").empty());
    EXPECT_FALSE(images.exists("ICON:text-plain"));
    EXPECT_TRUE(images.add("ICON:text-plain", "text-plain"));
    EXPECT_FALSE(images.add("ICON:text-plain", "other"));
    EXPECT_FALSE(images.add("", "x"));
    EXPECT_EQ(images.iconName("ICON:text-plain"), "text-plain");
    EXPECT_EQ(images.iconName("ICON:none"), "");
    EXPECT_EQ(images.count(), 6);
}

TEST(DriveListTest, EntriesSelectByTheMountPointHoldingAPath) {
    DriveList drives;
    int told = 0;
    drives.setListener([&] { ++told; });
    drives.setEntries({DriveList::entryText("/", "root"), DriveList::entryText("/home", "HOME"),
                       DriveList::entryText("/media/u/My [Disk]", "/dev/sdb1")});
    EXPECT_EQ(drives.entries()[1], "/home [HOME]");
    EXPECT_EQ(drives.selectedIndex(), -1);
    EXPECT_TRUE(drives.selectForPath("/home/u/a"));
    EXPECT_EQ(drives.selectedText(), "/home [HOME]");
    EXPECT_TRUE(drives.selectForPath("/homework"));
    EXPECT_EQ(drives.selectedIndex(), 0);
    EXPECT_TRUE(drives.selectForPath("/media/u/My [Disk]/photos"));
    EXPECT_EQ(drives.mountPoint(drives.selectedIndex()), "/media/u/My [Disk]");
    EXPECT_EQ(DriveList::mountPointOf("/media/u/My [Disk] [/dev/sdb1]"), "/media/u/My [Disk]");
    drives.selectFromView(1);
    EXPECT_EQ(drives.selectedIndex(), 1);
    EXPECT_EQ(told, 4);
    drives.select(9);
    EXPECT_EQ(drives.selectedIndex(), -1);
    EXPECT_EQ(drives.selectedText(), "");

    drives.setDrives({{"/mnt/a [b]", "/mnt/a [b] [LABEL]"}});
    EXPECT_TRUE(drives.selectForPath("/mnt/a [b]/x"));
    EXPECT_EQ(drives.mountPoint(0), "/mnt/a [b]");
    EXPECT_FALSE(drives.selectForPath("relative"));
    EXPECT_EQ(drives.selectedIndex(), 0);
}

TEST(SplitterTest, PanesByKeyIgnoringCaseAndTheListPane) {
    Splitter splitter;
    EXPECT_EQ(splitter.paneKeys(), (std::vector<std::string>{"pRoot", "pFnd", "pTrv"}));
    EXPECT_TRUE(splitter.hasPane("pTrV"));
    EXPECT_FALSE(splitter.listShown());
    EXPECT_TRUE(splitter.setPaneChild("pTrV", ""));
    EXPECT_TRUE(splitter.addPane("pLsV", "pTrV"));
    EXPECT_FALSE(splitter.addPane("PLSV", "pTrV"));
    EXPECT_TRUE(splitter.setPaneChild("pTrV", "TrView"));
    EXPECT_TRUE(splitter.setPaneChild("pLsV", "LsView"));
    EXPECT_TRUE(splitter.listShown());
    EXPECT_EQ(splitter.paneChild("ptrv"), "TrView");
    splitter.setTreePaneHeight(200);
    EXPECT_EQ(splitter.treePaneHeight(), 200);
    splitter.setTreePaneHeight(-5);
    EXPECT_EQ(splitter.treePaneHeight(), 0);
    EXPECT_TRUE(splitter.setPaneChild("pLsV", ""));
    EXPECT_TRUE(splitter.removePane("pLsV"));
    EXPECT_FALSE(splitter.removePane("pLsV"));
    EXPECT_FALSE(splitter.setPaneChild("pLsV", "LsView"));
    EXPECT_FALSE(splitter.listShown());
    EXPECT_TRUE(splitter.addPane("pAfterRoot", "proot"));
    EXPECT_EQ(splitter.paneKeys()[1], "pAfterRoot");
}

TEST(RetButtonsTest, ButtonsCarryTheirTips) {
    EXPECT_EQ(RetButtons::toolTip(0), "ﾌｫﾙﾀﾞを指定します");
    EXPECT_EQ(RetButtons::toolTip(1), "指定したﾌｫﾙﾀﾞの履歴から指定します");
    EXPECT_EQ(RetButtons::toolTip(2), "登録されているﾌｫﾙﾀﾞに移動します");
    EXPECT_EQ(RetButtons::toolTip(3), "");
    EXPECT_EQ(DriveList::toolTip, "ﾄﾞﾗｲﾌﾞを指定します");
}

namespace {
struct Keyed {
    std::string name;
    const std::string& key() const { return name; }
};
} // namespace

TEST(KeyIndexTest, FindsEveryKeyThroughGrowthAndRemovals) {
    std::vector<Keyed> items(5000);
    KeyIndex<Keyed> index;
    for (std::size_t i = 0; i < items.size(); ++i) {
        items[i].name = "L" + std::to_string(i);
        ASSERT_TRUE(index.insert(&items[i]));
    }
    Keyed twin{"L42"};
    EXPECT_FALSE(index.insert(&twin));
    for (std::size_t i = 0; i < items.size(); i += 3) {
        index.erase(items[i].name);
    }
    index.erase("absent");
    for (std::size_t i = 0; i < items.size(); ++i) {
        ASSERT_EQ(index.find(items[i].name), i % 3 == 0 ? nullptr : &items[i]) << i;
    }
    EXPECT_EQ(index.size(), items.size() - (items.size() + 2) / 3);
    index.clear();
    EXPECT_EQ(index.find("L1"), nullptr);
    EXPECT_TRUE(index.insert(&items[0]));
}
