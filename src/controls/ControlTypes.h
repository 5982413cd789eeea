#pragma once

#include <cstdint>
#include <optional>

// Small value types shared by the item collections of the browser's views and the input
// calls that the views make into the logic.

// A colour as 0xRRGGBB. An empty std::optional<Rgb> means the view's default colour.
using Rgb = std::uint32_t;

constexpr Rgb rgb(unsigned red, unsigned green, unsigned blue) {
    return (Rgb(red & 0xFF) << 16) | (Rgb(green & 0xFF) << 8) | Rgb(blue & 0xFF);
}

// A colour of the desktop's theme rather than a fixed one: the high bit set and the
// theme colour's number in the low bits. The views resolve it when they draw, so marks
// follow the theme.
enum class SystemColour : Rgb { WindowBackground = 5, MenuText = 7, ButtonShadow = 16 };
constexpr Rgb kSystemColourFlag = 0x80000000u;
constexpr Rgb systemColour(SystemColour colour) {
    return kSystemColourFlag | static_cast<Rgb>(colour);
}

// Mouse buttons with the numbers the program's rules use (1 left, 2 right, 4 middle).
enum class MouseButton { None = 0, Left = 1, Right = 2, Middle = 4 };

// Modifier keys held at a press, release or drop.
struct KeyModifiers {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;

    // 1 Shift + 2 Ctrl + 4 Alt: "Shift alone" is state() == 1.
    int state() const { return (shift ? 1 : 0) | (ctrl ? 2 : 0) | (alt ? 4 : 0); }
    bool operator==(const KeyModifiers&) const = default;
};

// The keys the panes report; everything else arrives as Other. Letters come with the
// modifiers held (C, X, V with Ctrl: copy, cut, paste); Menu is the context-menu key.
enum class BrowserKey { Delete, Enter, F2, Escape, Other, C, X, V, Z, F10, Menu, Backspace, H };

// Phases of a drag passing over a pane.
enum class DragState { Enter = 0, Leave = 1, Over = 2 };

// What a drop did, as its source is to hear it: a source may delete its items only after
// a move.
enum class DropOutcome { Nothing, Copied, Moved };

// Text alignment of a list column.
enum class ColumnAlignment { Left, Centre, Right };

// Sort direction of a list.
enum class SortOrder { Ascending, Descending };
