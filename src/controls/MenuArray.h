#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

// State of one item of a MenuArray.
struct MenuItemState {
    std::string caption;
    bool visible = false;
    bool checked = false;
    bool enabled = true;
};

// An indexed menu array: a list of menu items addressed by index that the program fills
// at run time. Item `first` (usually 0) exists from the start as a design-time
// placeholder with the caption "?"; further items are created on demand, hidden, and are
// never destroyed. Indexes need not be contiguous.
class MenuArray {
  public:
    using Listener = std::function<void(int index)>;

    explicit MenuArray(int first = 0, std::string placeholderCaption = "?",
                       bool placeholderVisible = true);

    // Calls the listener with the index of every item created or changed.
    void setListener(Listener listener) { listener_ = std::move(listener); }

    bool exists(int index) const { return items_.count(index) != 0; }
    // Creates the item, hidden with an empty caption, when it does not exist yet.
    void ensure(int index);
    int count() const { return static_cast<int>(items_.size()); }
    // Highest existing index.
    int upperBound() const { return items_.rbegin()->first; }
    std::vector<int> indexes() const;

    // Reading a missing item gives a default state; writing one creates it first.
    MenuItemState item(int index) const;
    const std::string& caption(int index) const;
    bool visible(int index) const;
    bool checked(int index) const;
    bool enabled(int index) const;
    void setCaption(int index, std::string caption);
    void setVisible(int index, bool visible);
    void setChecked(int index, bool checked);
    void setEnabled(int index, bool enabled);

  private:
    MenuItemState& slot(int index);
    void changed(int index);

    std::map<int, MenuItemState> items_;
    Listener listener_;
};
