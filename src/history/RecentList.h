#pragma once

#include <string>
#include <string_view>
#include <vector>

class MenuArray;

// What a saved entry of a recent list must still be on disk.
enum class MustExist { Folder, File };

// One history of paths (recent folders, recently executed files, recently used files)
// and the submenu that shows it. The most recent entry stands first; entries compare
// without regard to case. In memory the list is not limited; the submenu shows, and the
// saved value holds, at most the first 21 entries.
//
// The entries are kept whole, so a path with a comma is one entry and one menu item;
// it is left out of the saved value because the stored comma form cannot hold it (see
// CommaList).
//
// The browser's busy flag is the caller's to set around `add`.
class RecentList {
  public:
    static constexpr int kShown = 21;
    // How long saving waits for a file system to say whether an entry still exists.
    static constexpr int kAnswerMs = 100;

    // The submenu: item 0 exists from the start as the placeholder "?" and is never
    // hidden; further items are created on demand and only hidden. It may be missing
    // (null) until the host window is known.
    explicit RecentList(MustExist kind, MenuArray* menu = nullptr);
    void setMenu(MenuArray* menu) { menu_ = menu; }

    // Takes the stored value (its pieces between commas); the submenu is left as it is.
    void load(std::string_view text);
    // Puts the path first, removing an entry equal to it without regard to case, then
    // refills the submenu. An empty path only refills.
    void add(std::string_view path);

    const std::vector<std::string>& entries() const { return entries_; }
    // The list in the stored form.
    std::string text() const;
    // The value to save, built from the entries the submenu shows (the first kShown): no
    // placeholder "?", no empty entry, no duplicate, no path with a comma, and only paths
    // that still exist as a folder or a file. The empty result is ",".
    std::string saved() const;

  private:
    void refill();
    std::vector<std::string> shown() const;
    bool exists(const std::string& path) const;

    MustExist kind_;
    MenuArray* menu_;
    std::vector<std::string> entries_;
};
