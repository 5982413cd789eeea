#include "platform/controls/ListItem.h"

const std::string& ListItem::columnText(int column) const {
    static const std::string empty;
    if (column < 0 || column >= columnCount) {
        return empty;
    }
    return columns_[static_cast<std::size_t>(column)];
}
