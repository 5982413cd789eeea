#pragma once

#include "controls/ControlTypes.h"
#include "controls/KeyIndex.h"
#include "controls/LabelSelection.h"
#include "controls/ListColumn.h"
#include "controls/ListItem.h"
#include "controls/RowArena.h"

#include <climits>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class ListObserver;

// What add() and addItems() take for one new item.
struct ListItemData {
    std::string key;
    std::string text;
    std::string icon;
    std::string tag;
    std::string column1;
    std::string column2;
    std::string column3;
    std::string toolTip;
    std::optional<Rgb> foreColour;
};

// The item collection behind the report-mode file list: items with unique keys, four
// column texts, column headers, multi-selection with one current item, and sorting on
// a column's text. With sorting switched on, the list keeps itself sorted: new items go
// to their sorted place. Key lookups are hash lookups; an item knows its own row.
class ListControl {
  public:
    ListControl();
    ~ListControl();
    ListControl(const ListControl&) = delete;
    ListControl& operator=(const ListControl&) = delete;

    void addObserver(ListObserver* observer);
    // While its folder is being read, the list shows the wait pointer.
    void setBusy(bool busy);
    bool busy() const { return busy_; }
    void removeObserver(ListObserver* observer);

    // Columns.
    void setColumns(std::vector<ListColumn> columns);
    int columnCount() const { return static_cast<int>(columns_.size()); }
    // Column at a 0-based position; out of range is undefined.
    const ListColumn& column(int column) const { return columns_.at(column); }
    void setColumnHeaderText(int column, std::string text);
    void setColumnWidth(int column, int widthPixels);
    void setColumnHeaderImage(int column, std::string imageKey);
    void setColumnHidden(int column, bool hidden);

    // Items. add() returns null when the key is empty or already used.
    ListItem* add(ListItemData data);
    // Adds many items with one insertion notice (sorted place when sorting is on).
    // Items whose key is empty or already used are skipped; returns how many were added.
    int addItems(std::vector<ListItemData> items);
    // The same for `count` items that `fill` writes one after the other into one reused
    // ListItemData (its texts keep their buffers), so a large folder's rows need no
    // intermediate copies.
    using RowSource = std::function<void(std::size_t index, ListItemData& data)>;
    int addItems(std::size_t count, const RowSource& fill);
    bool remove(std::string_view key);
    void remove(ListItem* item);
    // Removes many items with one removal notice per run of neighbouring rows; unknown
    // keys are ignored. Returns how many were removed.
    int removeItems(const std::vector<std::string>& keys);
    void clear();

    int count() const { return static_cast<int>(items_.size()); }
    ListItem* find(std::string_view key) const;
    // Item at a 1-based index in the current order; null when out of range.
    ListItem* itemAt(int index) const;
    // 1-based index of an item in the current order; 0 for null.
    int indexOf(const ListItem* item) const { return item ? item->row() + 1 : 0; }

    void setText(ListItem* item, std::string text);
    // Column 0 is the text; 1 to 3 the sub-items.
    void setColumnText(ListItem* item, int column, std::string text);
    // Columns 1 and 2 at once: one change of the item.
    void setColumnTexts(ListItem* item, std::string_view column1, std::string_view column2);
    void setTag(ListItem* item, std::string tag);
    // Between these, changes of item attributes are told as one itemsChanged notice over
    // the rows they touched, when the outermost batch ends. Rows must not be added, removed
    // or reordered within a batch.
    void beginChanges();
    void endChanges();
    void setIcon(ListItem* item, std::string icon);
    void setToolTip(ListItem* item, std::string toolTip);
    void setForeColour(ListItem* item, std::optional<Rgb> colour);
    void setBold(ListItem* item, bool bold);

    // Selection: any number of selected items, one current item (the focus).
    void setSelected(ListItem* item, bool selected);
    void clearSelection();
    std::vector<ListItem*> selectedItems() const;
    ListItem* current() const { return current_; }
    // Makes the item current and, when `select` is set, selected.
    void setCurrent(ListItem* item, bool select = true);

    // Sorting: the logic sets the key column and order, then switches sorting on.
    // Texts compare without regard to case; equal texts keep their order.
    void setSortKey(int column);
    int sortKey() const { return sortKey_; }
    void setSortOrder(SortOrder order);
    SortOrder sortOrder() const { return sortOrder_; }
    // Switching on sorts at once, also when sorting was on already; while it is on,
    // new items go to their sorted place. Rows whose texts change stay where they are.
    void setSorted(bool sorted);
    bool sorted() const { return sorted_; }
    // Sorts now by the current key and order, whether sorting is on or not.
    void sort();

    // Requests for the view.
    void startLabelEdit(ListItem* item, LabelPart part = LabelPart::Whole);
    void ensureVisible(ListItem* item);
    // The first visible row as last reported by the view; null before any report.
    ListItem* topItem() const;
    void setTopItem(ListItem* item);

    // For the views: record what the user already changed on screen, telling the other
    // observers but not `source`.
    void setSelectionFromView(const std::vector<ListItem*>& selected, ListItem* current,
                              ListObserver* source);
    void setColumnWidthFromView(int column, int widthPixels, ListObserver* source);
    void setTopItemFromView(ListItem* item);

  private:
    ListItem* makeItem(const ListItemData& data);
    void destroy(ListItem* item) noexcept;
    const std::string* shared(const std::string& text);
    std::size_t sortedPosition(const ListItem* item) const;
    bool lessThan(const ListItem* a, const ListItem* b) const;
    void removeRun(std::size_t first, std::size_t count);
    void changed(const ListItem* item);
    void deleteAll();
    template <typename F> void notify(F&& f, ListObserver* except = nullptr);

    std::vector<ListColumn> columns_;
    // Holds the items and their texts; declared first so that it outlives them.
    RowArena arena_;
    RowVector<ListItem> items_;
    // The items are owned through items_ and deleted when they leave the list.
    KeyIndex<ListItem> byKey_;
    ListItem* current_ = nullptr;
    std::string topKey_;
    int sortKey_ = 0;
    SortOrder sortOrder_ = SortOrder::Ascending;
    bool sorted_ = false;
    int changeBatches_ = 0;
    int changedFirst_ = INT_MAX;
    int changedLast_ = -1;
    std::vector<ListObserver*> observers_;
    bool busy_ = false;
    // The shared copies of tags and icon keys; never shrinks while the control lives.
    std::unordered_set<std::string> sharedTexts_;
};
