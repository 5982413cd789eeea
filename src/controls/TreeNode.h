#pragma once

#include "controls/ControlTypes.h"
#include "controls/RowVector.h"

#include <cstddef>
#include <optional>
#include <string>

class TreeControl;

// One node of a TreeControl. Nodes are owned by their control and live until they (or an
// ancestor) are removed or the control is cleared; a removed node's pointer is dangling,
// so callers keep keys rather than pointers across operations that may remove nodes.
// Attributes are changed through the control, which tells the views.
class TreeNode {
  public:
    TreeNode(const TreeNode&) = delete;
    TreeNode& operator=(const TreeNode&) = delete;

    const std::string& key() const { return key_; }
    const std::string& text() const { return text_; }
    const std::string& tag() const { return tag_; }
    // Key of the node's image in the ImageList; empty for none.
    const std::string& image() const { return image_; }
    bool expanded() const { return expanded_; }
    bool bold() const { return bold_; }
    // Whether the program has yet to find out if the node has anything to open; the view
    // reports such nodes when their rows come into sight.
    bool undecided() const { return undecided_; }
    std::optional<Rgb> foreColour() const { return foreColour_; }
    std::optional<Rgb> backColour() const { return backColour_; }

    // Null for a top-level node.
    TreeNode* parent() const { return parent_; }
    int childCount() const { return static_cast<int>(children_.size()); }
    // Child at a 0-based row, null when out of range.
    TreeNode* child(int row) const;
    TreeNode* firstChild() const { return children_.empty() ? nullptr : children_.front(); }
    TreeNode* lastChild() const { return children_.empty() ? nullptr : children_.back(); }
    TreeNode* nextSibling() const;
    TreeNode* previousSibling() const;
    // 0-based position among the siblings (or among the top-level nodes).
    int row() const { return static_cast<int>(siblings_->rowOf(this)); }

  private:
    friend class TreeControl;
    friend class RowVector<TreeNode>;
    TreeNode() = default;

    std::string key_;
    std::string text_;
    std::string tag_;
    std::string image_;
    bool expanded_ = false;
    bool bold_ = false;
    bool undecided_ = false;
    std::optional<Rgb> foreColour_;
    std::optional<Rgb> backColour_;
    TreeNode* parent_ = nullptr;
    RowVector<TreeNode> children_;
    std::size_t row_ = 0;
    // Position in creation order among all nodes ever added since the last clear;
    // the node's index is the number of live nodes up to and including it.
    std::size_t serial_ = 0;
    // The sequence holding this node: its parent's children or the top level.
    RowVector<TreeNode>* siblings_ = nullptr;
};
