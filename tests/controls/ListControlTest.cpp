#include "controls/ListControl.h"

#include "controls/BrowserControls.h"
#include "controls/RecordingObservers.h"

#include <gtest/gtest.h>

namespace {

ListItemData row(std::string key, std::string name, std::string date = {}, std::string size = {},
                 std::string sortKey = {}) {
    ListItemData data;
    data.key = std::move(key);
    data.text = std::move(name);
    data.column1 = std::move(date);
    data.column2 = std::move(size);
    data.column3 = std::move(sortKey);
    return data;
}

std::vector<std::string> keysInOrder(const ListControl& list) {
    std::vector<std::string> keys;
    for (int i = 1; i <= list.count(); ++i) {
        keys.push_back(std::string(list.itemAt(i)->key()));
    }
    return keys;
}

// Two folders and three files, as a fill adds them: folders first, in disk order.
void fillSample(ListControl& list) {
    list.addItems({row("L001", "sub", "24/01/02 10:00", "", "Dsub"),
                   row("L002", "Apps", "24/03/01 09:00", "", "DApps"),
                   row("L003", "b.txt", "24/01/05 08:00", "       1 KB", "Lb.txt"),
                   row("L004", "A.doc", "23/12/31 23:59", "      12 KB", "LA.doc"),
                   row("L005", "c.txt", "24/01/05 08:00", "         KB", "Lc.txt")});
}

} // namespace

TEST(ListControlTest, BulkAddIsOneInsertionAndKeysFindTheirRows) {
    RecordingListObserver observer;
    ListControl list;
    list.addObserver(&observer);
    fillSample(list);
    EXPECT_EQ(observer.events, (std::vector<std::string>{"about-insert 0 5", "inserted 0 5"}));
    EXPECT_EQ(list.count(), 5);
    EXPECT_EQ(list.find("L004")->text(), "A.doc");
    EXPECT_EQ(list.find("L004")->columnText(3), "LA.doc");
    EXPECT_EQ(list.indexOf(list.find("L004")), 4);
    EXPECT_EQ(list.itemAt(1)->key(), "L001");
    EXPECT_EQ(list.itemAt(6), nullptr);
    EXPECT_EQ(list.find("L404"), nullptr);
    // Duplicates of existing or earlier keys in a batch are skipped.
    EXPECT_EQ(list.addItems({row("L001", "dup"), row("L006", "d"), row("L006", "d2")}), 1);
    EXPECT_EQ(list.find("L001")->text(), "sub");
    EXPECT_EQ(list.add(row("L006", "again")), nullptr);
}

TEST(ListControlTest, BulkAddOfManyItemsStaysOneNotice) {
    RecordingListObserver observer;
    ListControl list;
    list.addObserver(&observer);
    std::vector<ListItemData> items;
    for (int i = 1; i <= 20000; ++i) {
        items.push_back(row("L" + std::to_string(i), "f" + std::to_string(i)));
    }
    EXPECT_EQ(list.addItems(std::move(items)), 20000);
    EXPECT_EQ(observer.events.size(), 2u);
    EXPECT_EQ(list.indexOf(list.find("L17777")), 17777);
}

TEST(ListControlTest, RemovalShiftsRowsAndBatchRemovalNotifiesPerRun) {
    RecordingListObserver observer;
    ListControl list;
    fillSample(list);
    list.setCurrent(list.find("L002"));
    list.addObserver(&observer);
    EXPECT_TRUE(list.remove("L002"));
    EXPECT_EQ(list.current(), nullptr);
    EXPECT_EQ(list.indexOf(list.find("L003")), 2);
    EXPECT_EQ(list.removeItems({"L005", "L001", "L404", "L004"}), 3);
    EXPECT_EQ(keysInOrder(list), (std::vector<std::string>{"L003"}));
    EXPECT_EQ(observer.events,
              (std::vector<std::string>{"about-remove 1 1", "removed 1 1", "about-remove 2 2",
                                        "removed 2 2", "about-remove 0 1", "removed 0 1"}));
    EXPECT_EQ(list.find("L005"), nullptr);
    EXPECT_FALSE(list.remove("L005"));
}

TEST(ListControlTest, SortsByColumnTextBothWaysAndStably) {
    ListControl list;
    fillSample(list);
    // Name header: the hidden "D"/"L" key puts folders first.
    list.setSortKey(3);
    list.setSortOrder(SortOrder::Ascending);
    list.setSorted(true);
    EXPECT_EQ(keysInOrder(list),
              (std::vector<std::string>{"L002", "L001", "L004", "L003", "L005"}));
    list.setSortOrder(SortOrder::Descending);
    list.setSorted(true);
    EXPECT_EQ(keysInOrder(list),
              (std::vector<std::string>{"L005", "L003", "L004", "L001", "L002"}));
    // Dates as text; the two equal dates keep their current order either way.
    list.setSortKey(1);
    list.setSortOrder(SortOrder::Ascending);
    list.setSorted(true);
    EXPECT_EQ(keysInOrder(list),
              (std::vector<std::string>{"L004", "L001", "L005", "L003", "L002"}));
    list.setSortOrder(SortOrder::Descending);
    list.setSorted(true);
    EXPECT_EQ(keysInOrder(list),
              (std::vector<std::string>{"L002", "L005", "L003", "L001", "L004"}));
    // Sizes as padded text: the empty sizes of folders come first ascending.
    list.setSortKey(2);
    list.setSortOrder(SortOrder::Ascending);
    list.setSorted(true);
    EXPECT_EQ(keysInOrder(list).front(), "L002");
    EXPECT_EQ(keysInOrder(list),
              (std::vector<std::string>{"L002", "L001", "L005", "L003", "L004"}));
}

TEST(ListControlTest, SortedListPutsNewItemsInPlaceAndReportsReorders) {
    RecordingListObserver observer;
    ListControl list;
    list.setSortKey(0);
    list.setSorted(true);
    list.addObserver(&observer);
    list.addItems({row("L1", "m"), row("L2", "B"), row("L3", "x")});
    list.add(row("L4", "c"));
    list.add(row("L5", "b"));
    EXPECT_EQ(keysInOrder(list), (std::vector<std::string>{"L2", "L5", "L4", "L1", "L3"}));
    EXPECT_EQ(observer.events[0], "about-insert 0 3");
    EXPECT_EQ(observer.events[1], "inserted 0 3");
    EXPECT_EQ(observer.events[2], "about-insert 1 1");
    EXPECT_EQ(observer.events[4], "about-insert 1 1");
    observer.events.clear();
    list.addItems({row("L6", "a"), row("L7", "z")});
    EXPECT_EQ(observer.events,
              (std::vector<std::string>{"about-insert 5 2", "inserted 5 2", "reordered"}));
    EXPECT_EQ(keysInOrder(list).front(), "L6");
    EXPECT_EQ(keysInOrder(list).back(), "L7");
    // Changed texts do not move rows.
    list.setText(list.find("L6"), "zz");
    EXPECT_EQ(keysInOrder(list).front(), "L6");
}

TEST(ListControlTest, SelectionIsMultipleWithOneCurrentItem) {
    ListControl list;
    fillSample(list);
    list.setSelected(list.find("L004"), true);
    list.setCurrent(list.find("L002"));
    std::vector<std::string> selected;
    for (ListItem* item : list.selectedItems()) {
        selected.push_back(std::string(item->key()));
    }
    EXPECT_EQ(selected, (std::vector<std::string>{"L002", "L004"}));
    EXPECT_EQ(list.current()->key(), "L002");
    list.setSelectionFromView({list.find("L005")}, list.find("L005"), nullptr);
    EXPECT_EQ(list.selectedItems().size(), 1u);
    EXPECT_TRUE(list.find("L005")->selected());
    list.clearSelection();
    EXPECT_TRUE(list.selectedItems().empty());
    EXPECT_EQ(list.current()->key(), "L005");
}

TEST(ListControlTest, ItemAttributesAndColumnsChangeWithNotices) {
    RecordingListObserver observer;
    ListControl list;
    fillSample(list);
    list.addObserver(&observer);
    ListItem* item = list.find("L003");
    const std::string name(item->text());
    const std::string column1(item->columnText(1));
    const std::string column3(item->columnText(3));
    list.setColumnText(item, 2, "   1,500,000B");
    list.setToolTip(item, "更新:2024/01/05 作成:2024/01/01 ｻｲｽﾞ:1,500,000");
    list.setForeColour(item, rgb(0, 64, 64));
    list.setBold(item, true);
    list.setTag(item, "NW");
    EXPECT_EQ(observer.events.size(), 4u);
    EXPECT_EQ(item->columnText(2), "   1,500,000B");
    EXPECT_EQ(item->columnText(7), "");
    // Changing one text leaves the item's others as they were.
    EXPECT_EQ(item->key(), "L003");
    EXPECT_EQ(item->text(), name);
    EXPECT_EQ(item->columnText(1), column1);
    EXPECT_EQ(item->columnText(3), column3);
    EXPECT_EQ(item->toolTip(), "更新:2024/01/05 作成:2024/01/01 ｻｲｽﾞ:1,500,000");
    const std::string raw("bad\xff\0name\n", 10);
    list.setText(item, raw);
    list.setColumnText(item, 1, "");
    EXPECT_EQ(item->text(), raw);
    EXPECT_EQ(item->columnText(1), "");
    EXPECT_EQ(item->columnText(2), "   1,500,000B");
    EXPECT_EQ(list.find("L003"), item);
    EXPECT_EQ(item->foreColour(), 0x004040u);
    EXPECT_EQ(item->tag(), "NW");
    list.setTopItem(item);
    EXPECT_EQ(list.topItem(), item);
    list.remove(item);
    EXPECT_EQ(list.topItem(), nullptr);
}

TEST(ListControlTest, ChangesInABatchAreToldOnceOverTheRowsTheyTouched) {
    RecordingListObserver observer;
    ListControl list;
    fillSample(list);
    list.addObserver(&observer);
    list.beginChanges();
    list.beginChanges();
    list.setColumnTexts(list.find("L004"), "24/01/02 10:00", "9B");
    list.setBold(list.find("L002"), true);
    list.setColumnTexts(list.find("L003"), list.find("L003")->columnText(1),
                        list.find("L003")->columnText(2));
    list.endChanges();
    EXPECT_TRUE(observer.events.empty()) << "the outer batch is still open";
    list.endChanges();
    EXPECT_EQ(observer.events, (std::vector<std::string>{"changed 1-3"}));
    EXPECT_EQ(list.find("L004")->columnText(2), "9B");
    list.beginChanges();
    list.endChanges();
    list.setBold(list.find("L001"), true);
    EXPECT_EQ(observer.events, (std::vector<std::string>{"changed 1-3", "changed"}));
}

TEST(ListControlTest, BrowserListHasTheFourDesignColumns) {
    BrowserControls controls;
    const ListControl& list = controls.listControl;
    ASSERT_EQ(list.columnCount(), 4);
    EXPECT_EQ(list.column(0).text, "名前");
    EXPECT_EQ(list.column(1).text, "更新日時");
    EXPECT_EQ(list.column(1).alignment, ColumnAlignment::Centre);
    EXPECT_EQ(list.column(2).text, "ｻｲｽﾞ");
    EXPECT_EQ(list.column(2).alignment, ColumnAlignment::Right);
    EXPECT_TRUE(list.column(3).hidden);
    EXPECT_FALSE(list.column(0).hidden);
}

TEST(ListControlTest, RowsStayRightThroughScatteredRemovalsAndInsertions) {
    ListControl list;
    std::vector<ListItemData> items;
    for (int i = 0; i < 3000; ++i) {
        items.push_back(row("L" + std::to_string(i), "n" + std::to_string(i)));
    }
    list.addItems(std::move(items));
    std::vector<std::string> gone;
    for (int i = 0; i < 3000; i += 7) {
        gone.push_back("L" + std::to_string(i));
    }
    EXPECT_EQ(list.removeItems(gone), static_cast<int>(gone.size()));
    list.remove("L1");
    list.setSortKey(0);
    list.setSortOrder(SortOrder::Descending);
    list.setSorted(true);
    list.add(row("X", "n5000"));
    for (int index = 1; index <= list.count(); ++index) {
        ASSERT_EQ(list.indexOf(list.itemAt(index)), index);
    }
    EXPECT_EQ(list.itemAt(1)->key(), "L999");
    // Text order: "n501" > "n5000" > "n500".
    const int x = list.indexOf(list.find("X"));
    EXPECT_EQ(list.itemAt(x - 1)->text(), "n501");
    EXPECT_EQ(list.itemAt(x + 1)->text(), "n500");
}
