#include "controls/ListControl.h"

#include "controls/ListObserver.h"
#include "platform/text/TextCase.h"

#include <algorithm>
#include <climits>

ListControl::ListControl() = default;

void ListControl::setBusy(bool busy) {
    if (busy == busy_)
        return;
    busy_ = busy;
    notify([busy](ListObserver& o) { o.busyChanged(busy); });
}

void ListControl::addObserver(ListObserver* observer) {
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end()) {
        observers_.push_back(observer);
    }
}

void ListControl::removeObserver(ListObserver* observer) {
    std::erase(observers_, observer);
}

template <typename F> void ListControl::notify(F&& f, ListObserver* except) {
    const auto observers = observers_;
    for (ListObserver* observer : observers) {
        if (observer != except) {
            f(*observer);
        }
    }
}

ListControl::~ListControl() {
    notify([](ListObserver& o) { o.controlDestroyed(); });
    deleteAll();
}

void ListControl::deleteAll() {
    for (ListItem* item : items_.items()) {
        destroy(item);
    }
    items_.clear();
    byKey_.clear();
}

// ---- Columns ----

void ListControl::setColumns(std::vector<ListColumn> columns) {
    columns_ = std::move(columns);
    notify([](ListObserver& o) { o.columnsReset(); });
}

void ListControl::setColumnHeaderText(int column, std::string text) {
    if (column >= 0 && column < columnCount()) {
        columns_[static_cast<std::size_t>(column)].text = std::move(text);
        notify([&](ListObserver& o) { o.columnChanged(column); });
    }
}

void ListControl::setColumnWidth(int column, int widthPixels) {
    setColumnWidthFromView(column, widthPixels, nullptr);
}

void ListControl::setColumnWidthFromView(int column, int widthPixels, ListObserver* source) {
    if (column >= 0 && column < columnCount() && widthPixels >= 0) {
        columns_[static_cast<std::size_t>(column)].width = widthPixels;
        notify([&](ListObserver& o) { o.columnChanged(column); }, source);
    }
}

void ListControl::setColumnHeaderImage(int column, std::string imageKey) {
    if (column >= 0 && column < columnCount()) {
        columns_[static_cast<std::size_t>(column)].headerImage = std::move(imageKey);
        notify([&](ListObserver& o) { o.columnChanged(column); });
    }
}

void ListControl::setColumnHidden(int column, bool hidden) {
    if (column >= 0 && column < columnCount()) {
        columns_[static_cast<std::size_t>(column)].hidden = hidden;
        notify([&](ListObserver& o) { o.columnChanged(column); });
    }
}

// ---- Adding and removing items ----

ListItem* ListControl::makeItem(const ListItemData& data) {
    auto* item = new (arena_.allocate(sizeof(ListItem))) ListItem;
    try {
        item->setParts(
            {data.key, data.text, data.column1, data.column2, data.column3, data.toolTip}, arena_);
    } catch (...) {
        destroy(item);
        throw;
    }
    item->icon_ = shared(data.icon);
    item->tag_ = shared(data.tag);
    item->foreColour_ = data.foreColour;
    item->rows_ = &items_;
    return item;
}

void ListControl::destroy(ListItem* item) noexcept {
    item->freeTexts(arena_);
    item->~ListItem();
    arena_.deallocate(item, sizeof(ListItem));
}

const std::string* ListControl::shared(const std::string& text) {
    const auto it = sharedTexts_.find(text);
    return &*(it != sharedTexts_.end() ? it : sharedTexts_.insert(text).first);
}

ListItem* ListControl::add(ListItemData data) {
    if (data.key.empty() || byKey_.find(data.key) != nullptr) {
        return nullptr;
    }
    ListItem* item = makeItem(data);
    const std::size_t row = sorted_ ? sortedPosition(item) : items_.size();
    const int first = static_cast<int>(row);
    notify([&](ListObserver& o) { o.itemsAboutToBeInserted(first, 1); });
    items_.insert(row, item);
    byKey_.insert(item);
    notify([&](ListObserver& o) { o.itemsInserted(first, 1); });
    return item;
}

int ListControl::addItems(std::vector<ListItemData> items) {
    return addItems(items.size(), [&](std::size_t i, ListItemData& data) { data = items[i]; });
}

int ListControl::addItems(std::size_t count, const RowSource& fill) {
    std::vector<ListItem*> added;
    added.reserve(count);
    byKey_.reserve(byKey_.size() + count);
    ListItemData data;
    for (std::size_t i = 0; i < count; ++i) {
        fill(i, data);
        if (data.key.empty()) {
            continue;
        }
        ListItem* item = makeItem(data);
        // One lookup: the key is taken from the new item; a duplicate is dropped.
        if (byKey_.insert(item)) {
            added.push_back(item);
        } else {
            destroy(item);
        }
    }
    if (added.empty()) {
        return 0;
    }
    const bool wasEmpty = items_.empty();
    const std::size_t row = items_.size();
    const int first = static_cast<int>(row);
    const int addedCount = static_cast<int>(added.size());
    notify([&](ListObserver& o) { o.itemsAboutToBeInserted(first, addedCount); });
    std::vector<ListItem*>& rows = items_.change(row);
    rows.insert(rows.end(), added.begin(), added.end());
    if (sorted_ && wasEmpty) {
        // Into an empty list the sorted block arrives as it is: no reorder notice.
        std::stable_sort(rows.begin(), rows.end(),
                         [this](const ListItem* a, const ListItem* b) { return lessThan(a, b); });
    }
    notify([&](ListObserver& o) { o.itemsInserted(first, addedCount); });
    if (sorted_ && !wasEmpty) {
        sort();
    }
    return addedCount;
}

bool ListControl::remove(std::string_view key) {
    ListItem* item = find(key);
    if (item == nullptr) {
        return false;
    }
    remove(item);
    return true;
}

void ListControl::remove(ListItem* item) {
    if (item != nullptr) {
        removeRun(static_cast<std::size_t>(item->row()), 1);
    }
}

void ListControl::removeRun(std::size_t first, std::size_t count) {
    const int firstRow = static_cast<int>(first);
    const int rows = static_cast<int>(count);
    notify([&](ListObserver& o) { o.itemsAboutToBeRemoved(firstRow, rows); });
    const auto begin = items_.items().begin() + static_cast<std::ptrdiff_t>(first);
    std::vector<ListItem*> gone(begin, begin + static_cast<std::ptrdiff_t>(count));
    items_.erase(first, count);
    for (ListItem* item : gone) {
        if (current_ == item) {
            current_ = nullptr;
        }
        byKey_.erase(item->key());
        destroy(item);
    }
    notify([&](ListObserver& o) { o.itemsRemoved(firstRow, rows); });
}

int ListControl::removeItems(const std::vector<std::string>& keys) {
    std::vector<std::size_t> rows;
    for (const std::string& key : keys) {
        if (const ListItem* item = find(key)) {
            rows.push_back(static_cast<std::size_t>(item->row()));
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    // From the end, so that the rows of the runs still to go stay valid.
    std::size_t end = rows.size();
    while (end > 0) {
        std::size_t begin = end - 1;
        while (begin > 0 && rows[begin - 1] + 1 == rows[begin]) {
            --begin;
        }
        removeRun(rows[begin], end - begin);
        end = begin;
    }
    return static_cast<int>(rows.size());
}

void ListControl::clear() {
    notify([](ListObserver& o) { o.aboutToReset(); });
    deleteAll();
    current_ = nullptr;
    topKey_.clear();
    notify([](ListObserver& o) { o.reset(); });
}

ListItem* ListControl::find(std::string_view key) const {
    return byKey_.find(key);
}

ListItem* ListControl::itemAt(int index) const {
    if (index < 1 || index > count()) {
        return nullptr;
    }
    return items_[static_cast<std::size_t>(index - 1)];
}

// ---- Item attributes ----

void ListControl::setText(ListItem* item, std::string text) {
    setColumnText(item, 0, std::move(text));
}

void ListControl::setColumnText(ListItem* item, int column, std::string text) {
    if (item && column >= 0 && column < ListItem::columnCount) {
        if (item->columnText(column) != text) {
            item->setPart(ListItem::FirstColumnPart + column, text, arena_);
            changed(item);
        }
    }
}

void ListControl::setColumnTexts(ListItem* item, std::string_view column1,
                                 std::string_view column2) {
    if (item && (item->columnText(1) != column1 || item->columnText(2) != column2)) {
        const std::string_view columns[] = {column1, column2};
        std::array<std::string_view, ListItem::PartCount> parts;
        for (int i = 0; i < ListItem::PartCount; ++i) {
            const int column = i - ListItem::FirstColumnPart;
            parts[static_cast<std::size_t>(i)] =
                column == 1 || column == 2 ? columns[column - 1] : item->part(i);
        }
        item->setParts(parts, arena_);
        changed(item);
    }
}

void ListControl::beginChanges() {
    ++changeBatches_;
}

void ListControl::endChanges() {
    if (changeBatches_ > 0 && --changeBatches_ == 0 && changedFirst_ <= changedLast_) {
        const int first = changedFirst_;
        const int last = std::min(changedLast_, count() - 1);
        changedFirst_ = INT_MAX;
        changedLast_ = -1;
        if (first <= last) {
            notify([&](ListObserver& o) { o.itemsChanged(first, last); });
        }
    }
}

void ListControl::changed(const ListItem* item) {
    if (changeBatches_ == 0) {
        notify([&](ListObserver& o) { o.itemChanged(item); });
        return;
    }
    const int row = item->row();
    changedFirst_ = std::min(changedFirst_, row);
    changedLast_ = std::max(changedLast_, row);
}

void ListControl::setTag(ListItem* item, std::string tag) {
    if (item) {
        item->tag_ = shared(tag);
    }
}

void ListControl::setIcon(ListItem* item, std::string icon) {
    if (item && *item->icon_ != icon) {
        item->icon_ = shared(icon);
        changed(item);
    }
}

void ListControl::setToolTip(ListItem* item, std::string toolTip) {
    if (item && item->toolTip() != toolTip) {
        item->setPart(ListItem::ToolTipPart, toolTip, arena_);
        changed(item);
    }
}

void ListControl::setForeColour(ListItem* item, std::optional<Rgb> colour) {
    if (item && item->foreColour_ != colour) {
        item->foreColour_ = colour;
        changed(item);
    }
}

void ListControl::setBold(ListItem* item, bool bold) {
    if (item && item->bold_ != bold) {
        item->bold_ = bold;
        changed(item);
    }
}

// ---- Selection ----

void ListControl::setSelected(ListItem* item, bool selected) {
    if (item && item->selected_ != selected) {
        item->selected_ = selected;
        notify([](ListObserver& o) { o.selectionChanged(); });
    }
}

void ListControl::clearSelection() {
    bool changed = false;
    for (ListItem* item : items_.items()) {
        changed = changed || item->selected_;
        item->selected_ = false;
    }
    if (changed) {
        notify([](ListObserver& o) { o.selectionChanged(); });
    }
}

std::vector<ListItem*> ListControl::selectedItems() const {
    std::vector<ListItem*> selected;
    std::copy_if(items_.items().begin(), items_.items().end(), std::back_inserter(selected),
                 [](const ListItem* item) { return item->selected_; });
    return selected;
}

void ListControl::setCurrent(ListItem* item, bool select) {
    current_ = item;
    if (item && select) {
        item->selected_ = true;
    }
    notify([](ListObserver& o) { o.selectionChanged(); });
}

void ListControl::setSelectionFromView(const std::vector<ListItem*>& selected, ListItem* current,
                                       ListObserver* source) {
    for (ListItem* item : items_.items()) {
        item->selected_ = false;
    }
    for (ListItem* item : selected) {
        item->selected_ = true;
    }
    current_ = current;
    notify([](ListObserver& o) { o.selectionChanged(); }, source);
}

// ---- Sorting ----

void ListControl::setSortKey(int column) {
    sortKey_ = std::clamp(column, 0, ListItem::columnCount - 1);
}

void ListControl::setSortOrder(SortOrder order) {
    sortOrder_ = order;
}

void ListControl::setSorted(bool sorted) {
    sorted_ = sorted;
    if (sorted_) {
        sort();
    }
}

bool ListControl::lessThan(const ListItem* a, const ListItem* b) const {
    const std::string keyA = TextCase::upper(a->columnText(sortKey_));
    const std::string keyB = TextCase::upper(b->columnText(sortKey_));
    return sortOrder_ == SortOrder::Ascending ? keyA < keyB : keyB < keyA;
}

std::size_t ListControl::sortedPosition(const ListItem* item) const {
    // After the items that sort equal to it, as a stable sort would put it.
    const auto it =
        std::upper_bound(items_.items().begin(), items_.items().end(), item,
                         [this](const ListItem* a, const ListItem* b) { return lessThan(a, b); });
    return static_cast<std::size_t>(it - items_.items().begin());
}

void ListControl::sort() {
    // Fold each text once rather than at every comparison.
    std::vector<std::pair<std::string, ListItem*>> keyed;
    keyed.reserve(items_.size());
    for (ListItem* item : items_.items()) {
        keyed.emplace_back(TextCase::upper(item->columnText(sortKey_)), item);
    }
    const bool ascending = sortOrder_ == SortOrder::Ascending;
    std::stable_sort(keyed.begin(), keyed.end(), [ascending](const auto& a, const auto& b) {
        return ascending ? a.first < b.first : b.first < a.first;
    });
    notify([](ListObserver& o) { o.aboutToReorder(); });
    std::vector<ListItem*>& rows = items_.change(0);
    for (std::size_t row = 0; row < keyed.size(); ++row) {
        rows[row] = keyed[row].second;
    }
    notify([](ListObserver& o) { o.reordered(); });
}

// ---- Requests for the view ----

void ListControl::startLabelEdit(ListItem* item, LabelPart part) {
    if (item) {
        notify([&](ListObserver& o) { o.labelEditRequested(item, part); });
    }
}

void ListControl::ensureVisible(ListItem* item) {
    if (item) {
        notify([&](ListObserver& o) { o.ensureVisibleRequested(item); });
    }
}

ListItem* ListControl::topItem() const {
    return topKey_.empty() ? nullptr : find(topKey_);
}

void ListControl::setTopItem(ListItem* item) {
    setTopItemFromView(item);
    if (item) {
        notify([&](ListObserver& o) { o.topItemRequested(item); });
    }
}

void ListControl::setTopItemFromView(ListItem* item) {
    topKey_ = item ? std::string(item->key()) : std::string();
}
