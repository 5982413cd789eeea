#include "controls/TreeNode.h"

TreeNode* TreeNode::child(int row) const {
    if (row < 0 || row >= childCount()) {
        return nullptr;
    }
    return children_[static_cast<std::size_t>(row)];
}

TreeNode* TreeNode::nextSibling() const {
    const std::size_t next = siblings_->rowOf(this) + 1;
    return next < siblings_->size() ? (*siblings_)[next] : nullptr;
}

TreeNode* TreeNode::previousSibling() const {
    const std::size_t row = siblings_->rowOf(this);
    return row > 0 ? (*siblings_)[row - 1] : nullptr;
}
