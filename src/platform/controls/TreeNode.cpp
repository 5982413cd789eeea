#include "platform/controls/TreeNode.h"

TreeNode* TreeNode::child(int row) const {
    if (row < 0 || row >= childCount()) {
        return nullptr;
    }
    return children_[static_cast<std::size_t>(row)];
}

TreeNode* TreeNode::nextSibling() const {
    const std::size_t next = row_ + 1;
    return siblings_ && next < siblings_->size() ? (*siblings_)[next] : nullptr;
}

TreeNode* TreeNode::previousSibling() const {
    return siblings_ && row_ > 0 ? (*siblings_)[row_ - 1] : nullptr;
}
