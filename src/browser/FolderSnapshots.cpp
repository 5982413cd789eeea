#include "browser/FolderSnapshots.h"

FolderSnapshots::Scope::Scope(FolderSnapshots& owner,
                              std::shared_ptr<const FolderSnapshot> snapshot)
    : owner_(owner), folder_(snapshot->folder) {
    auto& slot = owner_.served_[folder_];
    previous_ = std::move(slot);
    slot = std::move(snapshot);
}

FolderSnapshots::Scope::~Scope() {
    if (previous_)
        owner_.served_[folder_] = std::move(previous_);
    else
        owner_.served_.erase(folder_);
}

const FolderSnapshot* FolderSnapshots::find(std::string_view folder) const {
    const auto it = served_.find(std::string(folder));
    return it == served_.end() ? nullptr : it->second.get();
}

const FolderSnapshot* FolderSnapshots::findFull(std::string_view folder) const {
    const FolderSnapshot* s = find(folder);
    return s && s->depth == FolderSnapshot::Depth::Full ? s : nullptr;
}
