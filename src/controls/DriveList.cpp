#include "controls/DriveList.h"

void DriveList::setEntries(std::vector<std::string> entries) {
    mountPoints_.clear();
    for (const std::string& entry : entries) {
        mountPoints_.push_back(mountPointOf(entry));
    }
    entries_ = std::move(entries);
    selected_ = -1;
    if (listener_) {
        listener_();
    }
}

void DriveList::setDrives(std::vector<Drive> drives) {
    entries_.clear();
    mountPoints_.clear();
    for (Drive& drive : drives) {
        entries_.push_back(std::move(drive.text));
        mountPoints_.push_back(std::move(drive.mountPoint));
    }
    selected_ = -1;
    if (listener_) {
        listener_();
    }
}

std::string DriveList::mountPoint(int index) const {
    return index >= 0 && index < count() ? mountPoints_[static_cast<std::size_t>(index)]
                                         : std::string();
}

std::string DriveList::selectedText() const {
    return selected_ >= 0 && selected_ < count() ? entries_[static_cast<std::size_t>(selected_)]
                                                 : std::string();
}

void DriveList::select(int index) {
    selectFromView(index);
    if (listener_) {
        listener_();
    }
}

void DriveList::selectFromView(int index) {
    selected_ = index >= 0 && index < count() ? index : -1;
}

namespace {
bool holds(std::string_view mountPoint, std::string_view path) {
    if (mountPoint.empty() || !path.starts_with(mountPoint)) {
        return false;
    }
    return path.size() == mountPoint.size() || mountPoint.ends_with('/') ||
           path[mountPoint.size()] == '/';
}
} // namespace

bool DriveList::selectForPath(std::string_view path) {
    int best = -1;
    std::size_t bestLength = 0;
    for (int i = 0; i < count(); ++i) {
        const std::string& mount = mountPoints_[static_cast<std::size_t>(i)];
        if (holds(mount, path) && (best < 0 || mount.size() > bestLength)) {
            best = i;
            bestLength = mount.size();
        }
    }
    if (best < 0) {
        return false;
    }
    select(best);
    return true;
}

std::string DriveList::mountPointOf(std::string_view entry) {
    const std::size_t bracket = entry.rfind(" [");
    return std::string(bracket == std::string_view::npos ? entry : entry.substr(0, bracket));
}

std::string DriveList::entryText(std::string_view mountPoint, std::string_view labelOrDevice) {
    std::string text(mountPoint);
    text += " [";
    text += labelOrDevice;
    text += "]";
    return text;
}
