#include "controls/TreeControl.h"

#include "controls/TreeObserver.h"
#include "controls/TreeSerialIndex.h"

#include <algorithm>

TreeControl::TreeControl() : serials_(std::make_unique<TreeSerialIndex>()) {}

void TreeControl::addObserver(TreeObserver* observer) {
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end()) {
        observers_.push_back(observer);
    }
}

void TreeControl::removeObserver(TreeObserver* observer) {
    std::erase(observers_, observer);
}

template <typename F> void TreeControl::notify(F&& f, TreeObserver* except) {
    // A copy: an observer may detach itself while being told.
    const auto observers = observers_;
    for (TreeObserver* observer : observers) {
        if (observer != except) {
            f(*observer);
        }
    }
}

TreeControl::~TreeControl() {
    notify([](TreeObserver& o) { o.controlDestroyed(); });
    deleteAll();
}

void TreeControl::deleteAll() {
    const std::vector<TreeNode*> tops = topLevel_.items();
    for (TreeNode* top : tops) {
        forgetSubtree(top);
    }
    topLevel_.clear();
    byKey_.clear();
    serials_->clear();
}

void TreeControl::clear() {
    notify([](TreeObserver& o) { o.aboutToReset(); });
    const bool hadSelection = selected_ != nullptr;
    selected_ = nullptr;
    deleteAll();
    notify([](TreeObserver& o) { o.reset(); });
    if (hadSelection) {
        notify([](TreeObserver& o) { o.selectionChanged(nullptr); });
    }
}

RowVector<TreeNode>& TreeControl::siblingsOf(TreeNode* parent) {
    return parent ? parent->children_ : topLevel_;
}

TreeNode* TreeControl::add(std::string_view relativeKey, TreeRelation relation, std::string key,
                           std::string text, std::string image) {
    if (key.empty() || byKey_.find(key) != nullptr) {
        return nullptr;
    }
    TreeNode* relative = relativeKey.empty() ? nullptr : find(relativeKey);
    if (!relativeKey.empty() && relative == nullptr) {
        return nullptr;
    }
    if (relation == TreeRelation::Previous && relative == nullptr) {
        return nullptr;
    }
    TreeNode* parent = relation == TreeRelation::Child ? relative : relative->parent_;
    const std::size_t row = relation == TreeRelation::Child
                                ? siblingsOf(parent).size()
                                : static_cast<std::size_t>(relative->row());

    auto node = std::unique_ptr<TreeNode>(new TreeNode);
    node->key_ = std::move(key);
    node->text_ = std::move(text);
    node->image_ = std::move(image);
    TreeNode* raw = node.get();
    insertAt(parent, row, std::move(node));
    return raw;
}

void TreeControl::insertAt(TreeNode* parent, std::size_t row, std::unique_ptr<TreeNode> node) {
    const int first = static_cast<int>(row);
    notify([&](TreeObserver& o) { o.nodesAboutToBeInserted(parent, first, 1); });
    RowVector<TreeNode>& siblings = siblingsOf(parent);
    TreeNode* raw = node.get();
    raw->parent_ = parent;
    raw->siblings_ = &siblings;
    raw->serial_ = serials_->append(raw);
    siblings.insert(row, raw);
    byKey_.insert(node.release());
    notify([&](TreeObserver& o) { o.nodesInserted(parent, first, 1); });
}

bool TreeControl::remove(std::string_view key) {
    TreeNode* node = find(key);
    if (node == nullptr) {
        return false;
    }
    remove(node);
    return true;
}

bool TreeControl::contains(const TreeNode* ancestor, const TreeNode* node) const {
    for (; node != nullptr; node = node->parent_) {
        if (node == ancestor) {
            return true;
        }
    }
    return false;
}

void TreeControl::remove(TreeNode* node) {
    if (node == nullptr) {
        return;
    }
    TreeNode* parent = node->parent_;
    const auto row = static_cast<std::size_t>(node->row());
    const int first = static_cast<int>(row);
    const bool losesSelection = contains(node, selected_);
    notify([&](TreeObserver& o) { o.nodesAboutToBeRemoved(parent, first, 1); });
    if (losesSelection) {
        selected_ = nullptr;
    }
    siblingsOf(parent).erase(row);
    forgetSubtree(node);
    notify([&](TreeObserver& o) { o.nodesRemoved(parent, first, 1); });
    if (losesSelection) {
        notify([](TreeObserver& o) { o.selectionChanged(nullptr); });
    }
}

void TreeControl::forgetSubtree(TreeNode* node) {
    // Iterative, so that deep trees cannot exhaust the stack.
    std::vector<TreeNode*> pending{node};
    std::vector<TreeNode*> doomed;
    while (!pending.empty()) {
        TreeNode* current = pending.back();
        pending.pop_back();
        doomed.push_back(current);
        const auto& children = current->children_.items();
        pending.insert(pending.end(), children.begin(), children.end());
    }
    for (TreeNode* gone : doomed) {
        serials_->erase(gone->serial_);
    }
    for (TreeNode* gone : doomed) {
        byKey_.erase(gone->key_);
        delete gone;
    }
}

TreeNode* TreeControl::find(std::string_view key) const {
    return byKey_.find(key);
}

TreeNode* TreeControl::nodeAt(int index) const {
    return serials_->select(index);
}

int TreeControl::indexOf(const TreeNode* node) const {
    return node ? serials_->rank(node->serial_) : 0;
}

TreeNode* TreeControl::topLevelNode(int row) const {
    if (row < 0 || row >= topLevelCount()) {
        return nullptr;
    }
    return topLevel_[static_cast<std::size_t>(row)];
}

std::string TreeControl::fullPath(const TreeNode* node, std::string_view separator) const {
    std::vector<const std::string*> texts;
    for (; node != nullptr; node = node->parent_) {
        texts.push_back(&node->text_);
    }
    std::string path;
    for (auto it = texts.rbegin(); it != texts.rend(); ++it) {
        if (it != texts.rbegin() && !path.ends_with(separator)) {
            path += separator;
        }
        path += **it;
    }
    return path;
}

void TreeControl::setText(TreeNode* node, std::string text) {
    if (node && node->text_ != text) {
        node->text_ = std::move(text);
        notify([&](TreeObserver& o) { o.nodeChanged(node); });
    }
}

void TreeControl::setTag(TreeNode* node, std::string tag) {
    if (node) {
        node->tag_ = std::move(tag);
    }
}

void TreeControl::setImage(TreeNode* node, std::string image) {
    if (node && node->image_ != image) {
        node->image_ = std::move(image);
        notify([&](TreeObserver& o) { o.nodeChanged(node); });
    }
}

void TreeControl::redecide(TreeNode* node) {
    if (node && !node->undecided_) {
        node->undecided_ = true;
        notify([&](TreeObserver& o) { o.nodeChanged(node); });
    }
}

void TreeControl::setBold(TreeNode* node, bool bold) {
    if (node && node->bold_ != bold) {
        node->bold_ = bold;
        notify([&](TreeObserver& o) { o.nodeChanged(node); });
    }
}

void TreeControl::setForeColour(TreeNode* node, std::optional<Rgb> colour) {
    if (node && node->foreColour_ != colour) {
        node->foreColour_ = colour;
        notify([&](TreeObserver& o) { o.nodeChanged(node); });
    }
}

void TreeControl::setBackColour(TreeNode* node, std::optional<Rgb> colour) {
    if (node && node->backColour_ != colour) {
        node->backColour_ = colour;
        notify([&](TreeObserver& o) { o.nodeChanged(node); });
    }
}

void TreeControl::setExpanded(TreeNode* node, bool expanded) {
    setExpandedFromView(node, expanded, nullptr);
}

void TreeControl::setExpandedFromView(TreeNode* node, bool expanded, TreeObserver* source) {
    if (node && node->expanded_ != expanded) {
        node->expanded_ = expanded;
        notify([&](TreeObserver& o) { o.nodeExpandedChanged(node); }, source);
    }
}

void TreeControl::select(TreeNode* node) {
    expandAncestors(node);
    selectFromView(node, nullptr);
    if (node) {
        notify([&](TreeObserver& o) { o.ensureVisibleRequested(node); });
    }
}

void TreeControl::expandAncestors(const TreeNode* node) {
    std::vector<TreeNode*> ancestors;
    for (TreeNode* up = node ? node->parent_ : nullptr; up != nullptr; up = up->parent_) {
        ancestors.push_back(up);
    }
    for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) {
        setExpanded(*it, true);
    }
}

void TreeControl::selectFromView(TreeNode* node, TreeObserver* source) {
    if (selected_ != node) {
        selected_ = node;
        notify([&](TreeObserver& o) { o.selectionChanged(node); }, source);
    }
}

void TreeControl::startLabelEdit(TreeNode* node, LabelPart part) {
    if (node) {
        notify([&](TreeObserver& o) { o.labelEditRequested(node, part); });
    }
}

void TreeControl::ensureVisible(TreeNode* node) {
    if (node) {
        expandAncestors(node);
        notify([&](TreeObserver& o) { o.ensureVisibleRequested(node); });
    }
}
