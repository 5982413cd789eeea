#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The drive list above the tree: one entry per mounted file system, shown as the mount
// point followed by " [" + label or device + "]", and one selected entry.
class DriveList {
  public:
    using Listener = std::function<void()>;

    static constexpr std::string_view toolTip = "ﾄﾞﾗｲﾌﾞを指定します";

    // Called after every change of the entries or of the selection.
    void setListener(Listener listener) { listener_ = std::move(listener); }

    struct Drive {
        std::string mountPoint;
        std::string text;
    };

    // Entries given as texts only: their mount points are read back from the texts.
    void setEntries(std::vector<std::string> entries);
    // Entries with their mount points, for mount points that hold " [" themselves.
    void setDrives(std::vector<Drive> drives);
    // Mount point of entry `index`; empty out of range.
    std::string mountPoint(int index) const;
    const std::vector<std::string>& entries() const { return entries_; }
    int count() const { return static_cast<int>(entries_.size()); }
    // 0-based index of the selected entry; -1 for none.
    int selectedIndex() const { return selected_; }
    // Text of the selected entry; empty for none.
    std::string selectedText() const;
    void select(int index);
    // Selects the entry of the mount point that holds the path: the longest mount point
    // that equals the path or is a leading part of it ending at a "/". Returns whether
    // one was found; the selection stays as it was otherwise.
    bool selectForPath(std::string_view path);
    // The mount point of an entry: its text before the last " [".
    static std::string mountPointOf(std::string_view entry);
    static std::string entryText(std::string_view mountPoint, std::string_view labelOrDevice);

    // For the view: the user chose an entry; the listener is not called.
    void selectFromView(int index);

  private:
    std::vector<std::string> entries_;
    std::vector<std::string> mountPoints_;
    int selected_ = -1;
    Listener listener_;
};
