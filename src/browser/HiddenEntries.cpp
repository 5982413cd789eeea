#include "browser/HiddenEntries.h"

bool HiddenEntries::hides(const FileRecord& entry) const {
    return !shown_ && isHiddenName(entry.name) && !onKeptPath(entry.path);
}

bool HiddenEntries::onKeptPath(std::string_view path) const {
    // Paths are compared byte for byte: names differing only in case are other entries.
    return !path.empty() && kept_.starts_with(path) &&
           (kept_.size() == path.size() || kept_[path.size()] == '/');
}
