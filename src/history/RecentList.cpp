#include "history/RecentList.h"

#include "controls/MenuArray.h"
#include "history/CommaList.h"
#include "platform/process/ExistenceCheck.h"
#include "platform/text/TextCase.h"

RecentList::RecentList(MustExist kind, MenuArray* menu) : kind_(kind), menu_(menu) {}

void RecentList::load(std::string_view text) {
    entries_ = CommaList::parse(text);
}

void RecentList::add(std::string_view path) {
    if (!path.empty()) {
        if (const int old = CommaList::find(entries_, path); old >= 0)
            entries_.erase(entries_.begin() + old);
        entries_.insert(entries_.begin(), std::string(path));
    }
    refill();
}

std::string RecentList::text() const {
    return CommaList::frame(entries_);
}

void RecentList::refill() {
    if (!menu_)
        return;
    const int shown = std::min<int>(kShown, static_cast<int>(entries_.size()));
    for (int n = 0; n < shown; ++n) {
        menu_->setCaption(n, entries_[n]);
        menu_->setVisible(n, true);
    }
    // With an empty list item 0 keeps its caption (the placeholder "?") and stays shown.
    for (int index : menu_->indexes())
        if (index >= shown && index != 0)
            menu_->setVisible(index, false);
}

std::vector<std::string> RecentList::shown() const {
    const std::size_t count = std::min<std::size_t>(kShown, entries_.size());
    return {entries_.begin(), entries_.begin() + static_cast<std::ptrdiff_t>(count)};
}

std::string RecentList::saved() const {
    std::vector<std::string> kept;
    for (const std::string& caption : shown()) {
        if (caption == "?" || !CommaList::storable(caption) || CommaList::find(kept, caption) >= 0)
            continue;
        if (exists(caption))
            kept.push_back(caption);
    }
    return CommaList::frame(kept);
}

// An entry on a file system that does not answer at once is kept: the settings are written
// whatever the file systems do.
bool RecentList::exists(const std::string& path) const {
    return ExistenceCheck::within(path, kind_ == MustExist::Folder, kAnswerMs).value_or(true);
}
