#include "browser/FileList.h"

#include "browser/EntryKind.h"
#include "browser/RowInventory.h"

#include "browser/FolderReads.h"
#include "browser/FolderScan.h"
#include "browser/FolderTree.h"
#include "browser/IconCache.h"
#include "browser/ListTexts.h"
#include "platform/UiLoop.h"
#include "platform/process/HeapPolicy.h"
#include "platform/text/TextCase.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

// Hands each entry's row to `found`, or copies the entry to `fresh` when it has none: only
// the new entries are copied out of the listing.
template <typename Found>
void takeRows(RowInventory& inventory, const std::vector<const FileRecord*>& entries,
              std::string_view tag, std::vector<FileRecord>& fresh, Found found) {
    inventory.takeEach(
        entries.size(), tag, [&](std::size_t i) -> std::string_view { return entries[i]->name; },
        [&](std::size_t i, ListItem* item) {
            if (item)
                found(item, *entries[i]);
            else
                fresh.push_back(*entries[i]);
        });
}

std::vector<const FileRecord*> pointersTo(const std::vector<FileRecord>& records) {
    std::vector<const FileRecord*> pointers;
    pointers.reserve(records.size());
    for (const FileRecord& r : records)
        pointers.push_back(&r);
    return pointers;
}

} // namespace

FileList::FileList(BrowserState& state, FolderScan& scan, IconCache& icons,
                   ChangeSignature& signatures, UiLoop& loop, FolderTree& tree, FolderReads& reads)
    : state_(state), scan_(scan), icons_(icons), signatures_(signatures), loop_(loop), tree_(tree),
      reads_(reads) {}

std::string FileList::keyOf(int counter) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "L%03d", counter);
    return buffer;
}

std::string FileList::nextKey() {
    return keyOf(state_.itemCounter++);
}

ListItemData FileList::rowFor(const FileRecord& entry, bool highlight) {
    ListItemData row;
    fillRow(row, entry, highlight);
    return row;
}

void FileList::fillRow(ListItemData& row, const FileRecord& entry, bool highlight) {
    row.key = nextKey();
    row.text = entry.name;
    row.icon = icons_.iconOf(entry.path, entry.isFolder());
    row.tag = EntryKinds::tag(entry.isFolder() ? EntryKind::Folder : EntryKind::File);
    row.column1 = ListTexts::modified(entry.modified);
    row.column2 = entry.isFolder() ? std::string() : ListTexts::sizeKb(entry.size);
    row.column3 = ListTexts::sortKey(entry);
    row.toolTip = ListTexts::tooltip(entry);
    row.foreColour = highlight ? std::optional<Rgb>(kHighlight) : std::nullopt;
}

std::string FileList::addFolderRow(const FileRecord& folder, bool highlight) {
    finishFill();
    ListItemData row = rowFor(folder, highlight);
    std::string key = row.key;
    return state_.c.listControl.add(std::move(row)) ? key : std::string();
}

std::string FileList::addFileRow(const FileRecord& file, bool highlight) {
    finishFill();
    ListItemData row = rowFor(file, highlight);
    std::string key = row.key;
    return state_.c.listControl.add(std::move(row)) ? key : std::string();
}

void FileList::addRows(const std::vector<FileRecord>& entries, bool highlight) {
    state_.c.listControl.addItems(entries.size(), [&](std::size_t i, ListItemData& row) {
        fillRow(row, entries[i], highlight);
    });
}

void FileList::fillList(std::string_view folder, bool reuse) {
    if (!state_.showList)
        return;
    const std::string asked(folder);
    const auto outcome = reads_.whenRead(
        asked, FolderReads::Depth::Full, FolderReads::Purpose::ListFill,
        [this, asked, reuse] { fillNow(asked, reuse); },
        [this, asked] { return state_.showList && state_.listFolder == asked; });
    if (outcome == FolderReads::Outcome::Pending)
        showBeingRead(asked);
}

void FileList::showBeingRead(const std::string& folder) {
    cancelFill();
    auto& list = state_.c.listControl;
    list.clear();
    state_.trackedItem = 0;
    state_.dropRowKey.clear();
    state_.itemCounter = 1;
    state_.listFolder = folder;
    state_.vanishedListFolder.clear();
    ListItemData row;
    row.key = nextKey();
    row.text = std::string(kBeingRead);
    row.tag = EntryKinds::tag(EntryKind::Placeholder);
    list.add(std::move(row));
    list.setBusy(true);
}

void FileList::tellNotAnswering(std::string_view folder) {
    // While its folder is read the list is busy and holds the one row saying so.
    auto& list = state_.c.listControl;
    if (state_.listFolder == folder && list.busy())
        list.setText(list.itemAt(1), std::string(kNotAnswering));
}

void FileList::fillNow(const std::string& folder, bool reuse) {
    cancelFill();
    std::optional<KeptRows> kept = std::exchange(kept_, std::nullopt);
    auto& list = state_.c.listControl;
    const bool wasBeingRead = list.busy();
    list.setBusy(false);
    if (!scan_.folderExists(folder)) {
        // A folder that was being read and is gone leaves no row saying it is being read.
        if (wasBeingRead && state_.listFolder == folder)
            list.clear();
        return;
    }
    BusyScope busy(state_);
    const ListItem* current = list.current();
    const std::string remembered = current ? std::string(current->text()) : std::string();
    // Taken before the read, so that a change while the rows are made shows at a tick.
    const Signature baseline = signatures_.signatureOf(folder);
    list.clear();
    state_.trackedItem = 0;
    state_.dropRowKey.clear();
    state_.itemCounter = 1;
    state_.listFolder = std::string(folder);
    state_.vanishedListFolder.clear();
    // Without the tree's listing of this folder to reuse (the node may have been loaded
    // before another one), one read gives both kinds.
    FolderScan::Both disk;
    if (reuse && state_.scratchFolder == folder) {
        if (state_.scratchAny)
            addRows(state_.scratch, false);
        disk.files = scan_.listFiles(folder, state_.filter);
    } else {
        disk = scan_.listFoldersAndFiles(folder, state_.filter);
        addRows(disk.folders.entries, false);
    }
    loop_.processEvents();
    pending_ = PendingFill{
        folder,  std::move(disk.files.entries), 0, state_.itemCounter, remembered, std::move(kept),
        baseline};
    // Rows of a sorted list are sorted anew with every block, so they come in one.
    const bool inBlocks = !list.sorted() && (fillTimer_ || (fillTimer_ = loop_.newTimer()));
    addFileRows(inBlocks ? kFillChunk : pending_->files.size());
    if (pending_->next < pending_->files.size())
        fillTimer_->start(0, [this] { continueFill(); });
    else
        completeFill();
}

void FileList::addFileRows(std::size_t count) {
    PendingFill& fill = *pending_;
    const std::size_t from = fill.next;
    const std::size_t n = std::min(count, fill.files.size() - from);
    state_.c.listControl.addItems(
        n, [&](std::size_t i, ListItemData& row) { fillRow(row, fill.files[from + i], false); });
    fill.next = from + n;
}

void FileList::continueFill() {
    if (!pending_)
        return;
    // A handler at work (a menu up, a file operation) keeps the list as it was told it.
    if (state_.busy) {
        fillTimer_->start(kBusyRetryMs, [this] { continueFill(); });
        return;
    }
    fillTimer_->start(0, [this] { continueFill(); });
    addFileRows(kFillChunk);
    if (pending_->next >= pending_->files.size())
        completeFill();
}

void FileList::finishFill() {
    if (!pending_)
        return;
    addFileRows(pending_->files.size());
    completeFill();
}

void FileList::cancelFill() {
    pending_.reset();
    if (fillTimer_)
        fillTimer_->stop();
}

void FileList::completeFill() {
    if (fillTimer_)
        fillTimer_->stop();
    PendingFill fill = std::move(*pending_);
    pending_.reset();
    BusyScope busy(state_);
    auto& list = state_.c.listControl;
    std::string rememberedKey;
    if (!fill.remembered.empty()) {
        for (std::size_t i = 0; i < fill.files.size(); ++i) {
            if (TextCase::equal(fill.files[i].name, fill.remembered)) {
                rememberedKey = keyOf(fill.firstFileKey + static_cast<int>(i));
                break;
            }
        }
    }
    loop_.processEvents();
    if (ListItem* item = rememberedKey.empty() ? nullptr : list.find(rememberedKey)) {
        list.clearSelection();
        list.setCurrent(item, true);
    }
    if (fill.kept && fill.kept->folder == fill.folder)
        selectKeptRows(*fill.kept);
    state_.listBaseline = fill.baseline;
    // An empty list of a folder that cannot be read would say the folder is empty.
    if (list.count() == 0)
        scan_.reportUnreadable(fill.folder);
    // The folder's records go with `fill`; a large list gives their memory back.
    fill.files = {};
    if (list.count() >= HeapPolicy::kLargeList)
        HeapPolicy::giveBackFreed();
}

void FileList::relist() {
    finishFill();
    auto& list = state_.c.listControl;
    if (!state_.showList || state_.listFolder.empty() || list.busy())
        return;
    const auto rowOf = [](const ListItem* item) {
        return item ? Row{std::string(item->text()), std::string(item->tag())} : Row{};
    };
    KeptRows rows{state_.listFolder, {}, rowOf(list.current()), rowOf(list.topItem())};
    for (const ListItem* item : list.selectedItems())
        rows.selected.insert(rowOf(item));
    kept_ = std::move(rows);
    fillList(state_.listFolder, false);
}

void FileList::selectKeptRows(const KeptRows& kept) {
    auto& list = state_.c.listControl;
    list.clearSelection();
    for (int i = 1; i <= list.count(); ++i) {
        ListItem* item = list.itemAt(i);
        const Row row{std::string(item->text()), std::string(item->tag())};
        if (row == kept.current)
            list.setCurrent(item, false);
        if (row == kept.top)
            list.setTopItem(item);
        if (kept.selected.count(row))
            list.setSelected(item, true);
    }
}

void FileList::refreshList() {
    finishFill();
    // The list's own folder: after a redraw its node may not be loaded.
    const std::string folder = state_.listFolder;
    if (folder.empty() || reads_.reading(folder))
        return;
    reads_.whenRead(
        folder, FolderReads::Depth::Full, FolderReads::Purpose::ListRefresh,
        [this, folder] { reconcileNow(folder); },
        [this, folder] { return state_.listFolder == folder; });
}

void FileList::reconcileNow(const std::string& folder) {
    finishFill();
    // Rows saying the folder is being read are replaced by its fill, never merged.
    if (state_.c.listControl.busy() || !scan_.folderExists(folder))
        return;
    BusyScope busy(state_);
    auto& list = state_.c.listControl;
    // Rows by exact name (Linux names differing only in case are different entries); a
    // row found on disk again, as the same kind, leaves the inventory.
    RowInventory inventory(list);
    // Looked up by name, the entries need no order; only the new rows are put in order. A
    // served listing is looked at where it is, a large folder's records never copied.
    FolderScan::Both disk;
    std::vector<const FileRecord*> folders, files;
    if (!scan_.servedEntries(folder, state_.filter, folders, files)) {
        disk = scan_.listFoldersAndFiles(folder, state_.filter, false);
        folders = pointersTo(disk.folders.entries);
        files = pointersTo(disk.files.entries);
    }
    std::vector<FileRecord> newFolders, newFiles;
    list.beginChanges();
    takeRows(inventory, folders, EntryKinds::tag(EntryKind::Folder), newFolders,
             [&](ListItem* item, const FileRecord& f) {
                 list.setColumnText(item, 1, ListTexts::modified(f.modified));
             });
    takeRows(inventory, files, EntryKinds::tag(EntryKind::File), newFiles,
             [&](ListItem* item, const FileRecord& f) {
                 list.setColumnTexts(item, ListTexts::modified(f.modified),
                                     ListTexts::sizeKb(f.size));
             });
    list.endChanges();
    FileSystem::sortByName(newFolders);
    FileSystem::sortByName(newFiles);
    list.addItems(newFolders.size() + newFiles.size(), [&](std::size_t i, ListItemData& row) {
        fillRow(row, i < newFolders.size() ? newFolders[i] : newFiles[i - newFolders.size()], true);
    });
    loop_.processEvents();
    std::vector<std::string> vanished;
    for (const ListItem* item : inventory.left())
        vanished.emplace_back(item->key());
    list.removeItems(vanished);
}

void FileList::onListColumnClick(int column) {
    finishFill();
    WaitCursor wait(loop_);
    auto& list = state_.c.listControl;
    int c = column;
    if (state_.sortState == c) {
        c = -c;
    } else if (state_.sortState != 0) {
        list.setColumnHeaderImage(std::abs(state_.sortState) - 1, "Null");
    }
    list.setColumnHeaderImage(column - 1, c > 0 ? "Up" : "Down");
    list.setSortKey(column == 1 ? 3 : column - 1);
    list.setSortOrder(c > 0 ? SortOrder::Ascending : SortOrder::Descending);
    list.setSorted(true);
    state_.sortState = c;
}
