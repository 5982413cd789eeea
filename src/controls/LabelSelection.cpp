#include "controls/LabelSelection.h"

std::size_t LabelSelection::length(std::u16string_view shown, LabelPart part) {
    if (part == LabelPart::Whole)
        return shown.size();
    const std::size_t dot = shown.rfind(u'.');
    const std::size_t named = shown.find_first_not_of(u'.');
    if (dot == std::u16string_view::npos || named == std::u16string_view::npos || dot < named)
        return shown.size();
    return dot;
}
