#pragma once

#include <cstddef>
#include <vector>

class TreeNode;

// Creation order of the live nodes of a tree: every node gets the next serial number,
// removal leaves a gap, and a node's index is the number of live serials up to its own.
// A Fenwick tree over the live flags answers both directions in O(log n).
class TreeSerialIndex {
  public:
    // Records a new live node; returns its serial (1-based).
    std::size_t append(TreeNode* node);
    void erase(std::size_t serial);
    void clear();
    // 1-based index of a live serial.
    int rank(std::size_t serial) const;
    // The node at a 1-based index; null when out of range.
    TreeNode* select(int index) const;
    int liveCount() const { return live_; }

  private:
    int prefix(std::size_t serial) const;

    // tree_[i] for i >= 1 (tree_[0] unused), nodes_[i] the node of serial i or null.
    std::vector<int> tree_{0};
    std::vector<TreeNode*> nodes_{nullptr};
    int live_ = 0;
};
