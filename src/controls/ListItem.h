#pragma once

#include "controls/ControlTypes.h"
#include "controls/RowVector.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class ListControl;
class RowArena;

// One row of a ListControl. Items are owned by their control and live until they are
// removed or the control is cleared. Attributes are changed through the control, which
// tells the views.
class ListItem {
  public:
    static constexpr int columnCount = 4;

    ListItem(const ListItem&) = delete;
    ListItem& operator=(const ListItem&) = delete;

    std::string_view key() const { return part(KeyPart); }
    // Column 0, the name.
    std::string_view text() const { return part(FirstColumnPart); }
    // Column 0 is the text; 1 to 3 the sub-items. Out of range gives an empty text.
    std::string_view columnText(int column) const;
    const std::string& tag() const { return *tag_; }
    // Key of the item's icon in the ImageList; empty for none.
    const std::string& icon() const { return *icon_; }
    std::string_view toolTip() const { return part(ToolTipPart); }
    std::optional<Rgb> foreColour() const { return foreColour_; }
    bool bold() const { return bold_; }
    bool selected() const { return selected_; }
    // 0-based position in the list's current order.
    int row() const { return static_cast<int>(rows_->rowOf(this)); }

  private:
    friend class ListControl;
    friend class RowVector<ListItem>;
    ListItem() = default;

    enum Part { KeyPart, FirstColumnPart, ToolTipPart = FirstColumnPart + columnCount, PartCount };

    std::string_view part(int index) const;
    // Replaces all texts at once (in Part order): in the item's block when they fit it,
    // else in a new block from the list's arena.
    void setParts(const std::array<std::string_view, PartCount>& parts, RowArena& arena);
    void setPart(int index, std::string_view text, RowArena& arena);
    void freeTexts(RowArena& arena) noexcept;
    static void copyParts(const std::array<std::string_view, PartCount>& parts, char* to,
                          std::array<std::uint32_t, PartCount>& ends);

    // The key, the column texts and the tooltip in one block, part i ending at ends_[i]: a
    // large folder's rows cost one allocation each for all their texts.
    char* texts_ = nullptr;
    std::array<std::uint32_t, PartCount> ends_{};
    // Tags and icon keys repeat across a folder: each item points to one shared copy.
    const std::string* tag_ = nullptr;
    const std::string* icon_ = nullptr;
    std::optional<Rgb> foreColour_;
    bool bold_ = false;
    bool selected_ = false;
    // What the block at texts_ can hold.
    std::uint32_t capacity_ = 0;
    std::size_t row_ = 0;
    RowVector<ListItem>* rows_ = nullptr;
};
