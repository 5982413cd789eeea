#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

// The ordered children of a tree node, or the rows of a list: item pointers whose items
// know their own position (T::row_). Positions are renumbered lazily, so removing or
// inserting near the front of a long sequence costs the move of the pointers only, and
// a run of changes followed by position queries renumbers each item at most once.
//
// Invariant: every item at a position below valid_ has row_ equal to that position.
template <typename T> class RowVector {
  public:
    std::size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    T* operator[](std::size_t position) const { return items_[position]; }
    T* front() const { return items_.front(); }
    T* back() const { return items_.back(); }
    const std::vector<T*>& items() const { return items_; }

    void insert(std::size_t position, T* item) {
        items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(position), item);
        item->row_ = position;
        valid_ = std::min(valid_, position);
    }
    void erase(std::size_t position, std::size_t count = 1) {
        const auto first = items_.begin() + static_cast<std::ptrdiff_t>(position);
        items_.erase(first, first + static_cast<std::ptrdiff_t>(count));
        valid_ = std::min(valid_, position);
    }
    void clear() {
        items_.clear();
        valid_ = 0;
    }
    // Direct access for bulk changes that leave positions below `from` as they are.
    std::vector<T*>& change(std::size_t from) {
        valid_ = std::min(valid_, from);
        return items_;
    }

    // Position of an item of this sequence.
    std::size_t rowOf(const T* item) {
        if (item->row_ < items_.size() && items_[item->row_] == item) {
            return item->row_;
        }
        // By the invariant the item stands at valid_ or later.
        for (; valid_ < items_.size(); ++valid_) {
            items_[valid_]->row_ = valid_;
            if (items_[valid_] == item) {
                return valid_++;
            }
        }
        return items_.size();
    }

  private:
    std::vector<T*> items_;
    std::size_t valid_ = 0;
};
