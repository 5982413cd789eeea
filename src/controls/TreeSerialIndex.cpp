#include "controls/TreeSerialIndex.h"

namespace {
std::size_t lowBit(std::size_t i) {
    return i & (~i + 1);
}
} // namespace

std::size_t TreeSerialIndex::append(TreeNode* node) {
    const std::size_t serial = nodes_.size();
    // The new cell covers (serial - lowBit, serial]: the earlier part of that range is
    // already summed in the prefix sums.
    const int earlier = prefix(serial - 1) - prefix(serial - lowBit(serial));
    tree_.push_back(1 + earlier);
    nodes_.push_back(node);
    ++live_;
    return serial;
}

void TreeSerialIndex::erase(std::size_t serial) {
    if (serial == 0 || serial >= nodes_.size() || nodes_[serial] == nullptr) {
        return;
    }
    nodes_[serial] = nullptr;
    --live_;
    for (std::size_t i = serial; i < tree_.size(); i += lowBit(i)) {
        --tree_[i];
    }
}

void TreeSerialIndex::clear() {
    tree_.assign(1, 0);
    nodes_.assign(1, nullptr);
    live_ = 0;
}

int TreeSerialIndex::prefix(std::size_t serial) const {
    int sum = 0;
    for (std::size_t i = serial; i > 0; i -= lowBit(i)) {
        sum += tree_[i];
    }
    return sum;
}

int TreeSerialIndex::rank(std::size_t serial) const {
    if (serial == 0 || serial >= nodes_.size() || nodes_[serial] == nullptr) {
        return 0;
    }
    return prefix(serial);
}

TreeNode* TreeSerialIndex::select(int index) const {
    if (index < 1 || index > live_) {
        return nullptr;
    }
    const std::size_t size = tree_.size() - 1;
    std::size_t step = 1;
    while (step * 2 <= size) {
        step *= 2;
    }
    // Binary lifting: the largest position whose prefix sum stays below `index`.
    std::size_t pos = 0;
    int remaining = index;
    for (; step > 0; step /= 2) {
        if (pos + step <= size && tree_[pos + step] < remaining) {
            pos += step;
            remaining -= tree_[pos];
        }
    }
    return nodes_[pos + 1];
}
