#pragma once

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

// Items by their key (T::key()), without owning them: an open-addressing table of
// pointers with linear probing, kept at most half full, so that a large list costs about
// two pointers per item and one allocation in all. Removal shifts later entries of the
// probe run back, so no markers are left behind.
template <typename T> class KeyIndex {
  public:
    std::size_t size() const { return count_; }

    T* find(std::string_view key) const {
        if (slots_.empty()) {
            return nullptr;
        }
        for (std::size_t i = home(key);; i = (i + 1) & mask()) {
            T* item = slots_[i];
            if (item == nullptr || item->key() == key) {
                return item;
            }
        }
    }

    // False (and no change) when an item of the same key is indexed already.
    bool insert(T* item) {
        reserve(count_ + 1);
        std::size_t i = home(item->key());
        for (; slots_[i] != nullptr; i = (i + 1) & mask()) {
            if (slots_[i]->key() == item->key()) {
                return false;
            }
        }
        slots_[i] = item;
        ++count_;
        return true;
    }

    void erase(std::string_view key) {
        if (slots_.empty()) {
            return;
        }
        std::size_t i = home(key);
        for (; slots_[i] != nullptr; i = (i + 1) & mask()) {
            if (slots_[i]->key() == key) {
                break;
            }
        }
        if (slots_[i] == nullptr) {
            return;
        }
        slots_[i] = nullptr;
        --count_;
        closeGap(i);
    }

    void clear() {
        slots_.clear();
        count_ = 0;
    }

    // Room for `count` items without growing.
    void reserve(std::size_t count) {
        if (count * 2 <= slots_.size()) {
            return;
        }
        std::size_t capacity = 16;
        while (capacity < count * 2) {
            capacity *= 2;
        }
        std::vector<T*> old(capacity, nullptr);
        old.swap(slots_);
        count_ = 0;
        for (T* item : old) {
            if (item != nullptr) {
                insert(item);
            }
        }
    }

  private:
    std::size_t mask() const { return slots_.size() - 1; }
    std::size_t home(std::string_view key) const {
        return std::hash<std::string_view>{}(key)&mask();
    }

    // Moves entries after a freed slot back so that every entry stays reachable from
    // its home slot.
    void closeGap(std::size_t gap) {
        for (std::size_t j = (gap + 1) & mask(); slots_[j] != nullptr; j = (j + 1) & mask()) {
            const std::size_t want = home(slots_[j]->key());
            // The entry may fill the gap when its home does not lie in (gap, j].
            const bool between = gap <= j ? (gap < want && want <= j) : (gap < want || want <= j);
            if (!between) {
                slots_[gap] = slots_[j];
                slots_[j] = nullptr;
                gap = j;
            }
        }
    }

    std::vector<T*> slots_;
    std::size_t count_ = 0;
};
