#include "browser/EntryKind.h"

#include <array>

namespace {

const std::array<std::string, 5> kTags = {"FD", "FL", "NW", "DM", ""};

} // namespace

const std::string& EntryKinds::tag(EntryKind kind) {
    return kTags[static_cast<std::size_t>(kind)];
}

EntryKind EntryKinds::of(std::string_view tag) {
    for (std::size_t i = 0; i + 1 < kTags.size(); ++i)
        if (tag == kTags[i])
            return static_cast<EntryKind>(i);
    return EntryKind::Unknown;
}
