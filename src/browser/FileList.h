#pragma once

#include "browser/BrowserState.h"
#include "browser/ChangeSignature.h"
#include "platform/Timer.h"

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>

class FolderReads;
class FolderScan;
class FolderTree;
class IconCache;
class ChangeSignature;
class UiLoop;
struct ListItemData;

// The file list of the split view: a complete fill when a folder is opened, and a
// reconciliation in place afterwards that keeps the rows that stay (their place,
// selection and scroll position), removes vanished ones and adds new ones in the
// highlight colour. Keys are "L" + a counter of at least three digits per fill. A folder
// slow to answer shows one row saying it is being read until its read ends; the rows of
// two folders never mix. A large folder's file rows are made kFillChunk at a time, the
// window's loop running in between, so the window answers while they are made; whatever
// needs the whole list (a reconciliation, a new row, a sort) makes the rest at once first.
class FileList {
  public:
    static constexpr Rgb kHighlight = rgb(0, 64, 64);
    static constexpr std::string_view kBeingRead = "読み込み中…";
    static constexpr std::string_view kNotAnswering = "応答がありません (読み込み中…)";
    // File rows made in one turn of the window's loop (about 5–20 ms of work).
    static constexpr std::size_t kFillChunk = 8192;
    // While a handler is busy the rest of a fill waits this long between looks.
    static constexpr int kBusyRetryMs = 20;

    FileList(BrowserState& state, FolderScan& scan, IconCache& icons, ChangeSignature& signatures,
             UiLoop& loop, FolderTree& tree, FolderReads& reads);

    // Complete fill; `reuse` takes the folder rows from the subfolders the tree's last
    // load listed. Nothing happens in the tree-only view or for a missing folder.
    void fillList(std::string_view folder, bool reuse);
    std::string addFolderRow(const FileRecord& folder, bool highlight);
    std::string addFileRow(const FileRecord& file, bool highlight);
    void refreshList();
    // Lists the folder again after the rule of what is shown changed: the rows in order,
    // the selected and current rows that are still shown selected again, the first row in
    // sight kept.
    void relist();
    // The folder being read is not answering: its row says so.
    void tellNotAnswering(std::string_view folder);
    // A click on header `column` (from 1): ascending, then descending on the next click.
    void onListColumnClick(int column);
    // Whether a fill still has rows to make.
    bool filling() const { return pending_.has_value(); }
    // Makes the rest of a fill's rows now.
    void finishFill();
    // Drops the rows a fill still had to make: the list was emptied.
    void cancelFill();

  private:
    // The rows a relisting selects again, by name and kind (tag).
    using Row = std::pair<std::string, std::string>;
    struct KeptRows {
        std::string folder;
        std::set<Row> selected;
        Row current;
        Row top;
    };
    // What a fill still has to do after its first rows.
    struct PendingFill {
        std::string folder;
        std::vector<FileRecord> files;
        std::size_t next = 0;
        int firstFileKey = 0;
        std::string remembered; // the current row's name before the fill
        std::optional<KeptRows> kept;
        Signature baseline;
    };
    void fillNow(const std::string& folder, bool reuse);
    void addFileRows(std::size_t count);
    void continueFill();
    void completeFill();
    void selectKeptRows(const KeptRows& kept);
    void showBeingRead(const std::string& folder);
    void reconcileNow(const std::string& folder);
    void fillRow(ListItemData& row, const FileRecord& entry, bool highlight);
    ListItemData rowFor(const FileRecord& entry, bool highlight);
    static std::string keyOf(int counter);
    std::string nextKey();
    void addRows(const std::vector<FileRecord>& entries, bool highlight);

    BrowserState& state_;
    FolderScan& scan_;
    IconCache& icons_;
    ChangeSignature& signatures_;
    UiLoop& loop_;
    FolderTree& tree_;
    FolderReads& reads_;
    std::optional<KeptRows> kept_;
    std::optional<PendingFill> pending_;
    std::unique_ptr<Timer> fillTimer_;
};
