#pragma once

#include <cstddef>
#include <string_view>

// Which part of a label its editor selects when an edit starts: the whole text, or the
// name without its extension, so typing replaces the name and keeps the file's type.
enum class LabelPart { Whole, Stem };

class LabelSelection {
  public:
    // How many leading UTF-16 units of `shown` (the text as the editor holds it) to
    // select. The stem ends at the last dot ("archive.tar" of "archive.tar.gz"); a name
    // whose dots all lead it (".bashrc") or that has none is selected whole.
    static std::size_t length(std::u16string_view shown, LabelPart part);
};
