#include "controls/RetButtons.h"

std::string_view RetButtons::toolTip(int index) {
    return index >= 0 && index < count ? tips_[static_cast<std::size_t>(index)]
                                       : std::string_view();
}

std::string_view RetButtons::iconName(int index) {
    return index >= 0 && index < count ? icons_[static_cast<std::size_t>(index)]
                                       : std::string_view();
}
