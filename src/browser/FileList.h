#pragma once

#include "browser/BrowserState.h"

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
// two folders never mix.
class FileList {
  public:
    static constexpr Rgb kHighlight = rgb(0, 64, 64);
    static constexpr std::string_view kBeingRead = "読み込み中…";
    static constexpr std::string_view kNotAnswering = "応答がありません (読み込み中…)";

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

  private:
    // The rows a relisting selects again, by name and kind (tag).
    using Row = std::pair<std::string, std::string>;
    struct KeptRows {
        std::string folder;
        std::set<Row> selected;
        Row current;
        Row top;
    };
    void fillNow(const std::string& folder, bool reuse);
    void selectKeptRows(const KeptRows& kept);
    void showBeingRead(const std::string& folder);
    void reconcileNow(const std::string& folder);
    void fillRow(ListItemData& row, const FileRecord& entry, bool highlight);
    ListItemData rowFor(const FileRecord& entry, bool highlight);
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
};
