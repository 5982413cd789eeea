#pragma once

#include "platform/controls/ControlTypes.h"
#include "platform/controls/RowVector.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>

class ListControl;

// One row of a ListControl. Items are owned by their control and live until they are
// removed or the control is cleared. Attributes are changed through the control, which
// tells the views.
class ListItem {
  public:
    static constexpr int columnCount = 4;

    ListItem(const ListItem&) = delete;
    ListItem& operator=(const ListItem&) = delete;

    const std::string& key() const { return key_; }
    // Column 0, the name.
    const std::string& text() const { return columns_[0]; }
    // Column 0 is the text; 1 to 3 the sub-items. Out of range gives an empty text.
    const std::string& columnText(int column) const;
    const std::string& tag() const { return *tag_; }
    // Key of the item's icon in the ImageList; empty for none.
    const std::string& icon() const { return *icon_; }
    const std::string& toolTip() const { return toolTip_; }
    std::optional<Rgb> foreColour() const { return foreColour_; }
    bool bold() const { return bold_; }
    bool selected() const { return selected_; }
    // 0-based position in the list's current order.
    int row() const { return static_cast<int>(rows_->rowOf(this)); }

  private:
    friend class ListControl;
    friend class RowVector<ListItem>;
    ListItem() = default;

    std::string key_;
    std::array<std::string, columnCount> columns_;
    // Tags and icon keys repeat across a folder: each item points to one shared copy.
    const std::string* tag_ = nullptr;
    const std::string* icon_ = nullptr;
    std::string toolTip_;
    std::optional<Rgb> foreColour_;
    bool bold_ = false;
    bool selected_ = false;
    std::size_t row_ = 0;
    RowVector<ListItem>* rows_ = nullptr;
};
