#include "controls/MenuArray.h"

MenuArray::MenuArray(int first, std::string placeholderCaption, bool placeholderVisible) {
    items_[first] = MenuItemState{std::move(placeholderCaption), placeholderVisible, false, true};
}

void MenuArray::ensure(int index) {
    if (!exists(index)) {
        items_[index] = MenuItemState{};
        changed(index);
    }
}

std::vector<int> MenuArray::indexes() const {
    std::vector<int> result;
    result.reserve(items_.size());
    for (const auto& entry : items_) {
        result.push_back(entry.first);
    }
    return result;
}

MenuItemState MenuArray::item(int index) const {
    const auto it = items_.find(index);
    return it == items_.end() ? MenuItemState{} : it->second;
}

const std::string& MenuArray::caption(int index) const {
    static const std::string empty;
    const auto it = items_.find(index);
    return it == items_.end() ? empty : it->second.caption;
}

bool MenuArray::visible(int index) const {
    return item(index).visible;
}

bool MenuArray::checked(int index) const {
    return item(index).checked;
}

bool MenuArray::enabled(int index) const {
    return item(index).enabled;
}

MenuItemState& MenuArray::slot(int index) {
    ensure(index);
    return items_[index];
}

void MenuArray::changed(int index) {
    if (listener_) {
        listener_(index);
    }
}

void MenuArray::setCaption(int index, std::string caption) {
    slot(index).caption = std::move(caption);
    changed(index);
}

void MenuArray::setVisible(int index, bool visible) {
    slot(index).visible = visible;
    changed(index);
}

void MenuArray::setChecked(int index, bool checked) {
    slot(index).checked = checked;
    changed(index);
}

void MenuArray::setEnabled(int index, bool enabled) {
    slot(index).enabled = enabled;
    changed(index);
}
