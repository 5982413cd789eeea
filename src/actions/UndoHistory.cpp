#include "actions/UndoHistory.h"

#include <utility>

void UndoHistory::push(UndoRecord record) {
    if (record.items.empty())
        return;
    records_.push_back(std::move(record));
    if (records_.size() > kLimit)
        records_.pop_front();
}

std::optional<UndoRecord> UndoHistory::pop() {
    if (records_.empty())
        return std::nullopt;
    UndoRecord record = std::move(records_.back());
    records_.pop_back();
    return record;
}
