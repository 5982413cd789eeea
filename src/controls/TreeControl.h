#pragma once

#include "controls/ControlTypes.h"
#include "controls/KeyIndex.h"
#include "controls/LabelSelection.h"
#include "controls/TreeNode.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TreeObserver;
class TreeSerialIndex;

// Where add() puts a node relative to the node named by its relative key.
enum class TreeRelation {
    Child,   // as the last child of the relative node (top level when the key is empty)
    Previous // just before the relative node, under the same parent
};

// The item collection behind the folder tree: nodes with unique keys in a hierarchy,
// plus their 1-based index in creation order (the position in the node collection).
// The index of a node shifts down when nodes created before it are removed, so an index
// is not a key. Key lookups are hash lookups; index lookups are O(log n).
//
// One node at most is selected. Every change is reported to the observers; the control
// never calls back into the program.
class TreeControl {
  public:
    TreeControl();
    ~TreeControl();
    TreeControl(const TreeControl&) = delete;
    TreeControl& operator=(const TreeControl&) = delete;

    void addObserver(TreeObserver* observer);
    void removeObserver(TreeObserver* observer);

    // Removes every node.
    void clear();
    // Adds a node; null when the key is empty or already used, or when the relative key
    // names no node (a Previous relation needs one). The new node is collapsed.
    TreeNode* add(std::string_view relativeKey, TreeRelation relation, std::string key,
                  std::string text, std::string image = {});
    // Removes the node and its subtree; false when the key names no node. A removed
    // selected node leaves no selection.
    bool remove(std::string_view key);
    void remove(TreeNode* node);

    int count() const { return static_cast<int>(byKey_.size()); }
    TreeNode* find(std::string_view key) const;
    // The node at a 1-based index; null when out of range.
    TreeNode* nodeAt(int index) const;
    // The 1-based index of a node; 0 for null.
    int indexOf(const TreeNode* node) const;
    // The first top-level node (the root), null when empty.
    TreeNode* firstNode() const { return topLevel_.empty() ? nullptr : topLevel_.front(); }
    int topLevelCount() const { return static_cast<int>(topLevel_.size()); }
    TreeNode* topLevelNode(int row) const;

    // Texts from the top-level node down to the node joined by `separator`; no separator
    // is added after a text that already ends with it, so a root "/" gives "/a".
    std::string fullPath(const TreeNode* node, std::string_view separator) const;

    void setText(TreeNode* node, std::string text);
    void setTag(TreeNode* node, std::string tag);
    void setImage(TreeNode* node, std::string image);
    void setBold(TreeNode* node, bool bold);
    void setForeColour(TreeNode* node, std::optional<Rgb> colour);
    void setBackColour(TreeNode* node, std::optional<Rgb> colour);
    // Not shown: the views read it when the node's row comes into sight.
    void setUndecided(TreeNode* node, bool undecided) { node->undecided_ = undecided; }
    // Makes a shown node undecided again and tells the views, so that they report its row
    // once it is in sight.
    void redecide(TreeNode* node);

    void expand(TreeNode* node) { setExpanded(node, true); }
    void collapse(TreeNode* node) { setExpanded(node, false); }
    void setExpanded(TreeNode* node, bool expanded);

    TreeNode* selected() const { return selected_; }
    // Selects the node (null: no selection). As with the platform's tree view, collapsed
    // ancestors of the node are expanded and the node is scrolled into sight; the program
    // is not told of these expansions.
    void select(TreeNode* node);

    // Requests for the view: edit the node's text (`part` of it selected), scroll it into
    // sight.
    void startLabelEdit(TreeNode* node, LabelPart part = LabelPart::Whole);
    // Expands the node's collapsed ancestors and asks the view to scroll to it.
    void ensureVisible(TreeNode* node);

    // For the views: record a state the user already changed on screen, telling the
    // other observers but not `source`.
    void setExpandedFromView(TreeNode* node, bool expanded, TreeObserver* source);
    void selectFromView(TreeNode* node, TreeObserver* source);

  private:
    RowVector<TreeNode>& siblingsOf(TreeNode* parent);
    void insertAt(TreeNode* parent, std::size_t row, std::unique_ptr<TreeNode> node);
    // Drops the node and its subtree from the indexes and deletes them.
    void forgetSubtree(TreeNode* node);
    void deleteAll();
    bool contains(const TreeNode* ancestor, const TreeNode* node) const;
    void expandAncestors(const TreeNode* node);
    template <typename F> void notify(F&& f, TreeObserver* except = nullptr);

    // The nodes are owned through the hierarchy and deleted when they leave it.
    KeyIndex<TreeNode> byKey_;
    RowVector<TreeNode> topLevel_;
    std::unique_ptr<TreeSerialIndex> serials_;
    TreeNode* selected_ = nullptr;
    std::vector<TreeObserver*> observers_;
};
