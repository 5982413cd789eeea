#include "browser/HiddenEntries.h"

#include "platform/text/PathText.h"

bool HiddenEntries::hides(const FileRecord& entry) const {
    return !shown_ && isHiddenName(entry.name) && !onKeptPath(entry.path);
}

// Paths are compared byte for byte: names differing only in case are other entries.
bool HiddenEntries::onKeptPath(std::string_view path) const {
    return !path.empty() && PathText::within(kept_, path);
}
