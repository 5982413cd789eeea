#include "browser/ExpandedWatch.h"

#include "browser/EntryKind.h"
#include "browser/FolderTree.h"
#include "browser/TreeWatch.h"
#include "platform/UiLoop.h"
#include "platform/fs/FolderWatchSet.h"

#include <algorithm>

namespace {

// The placeholder child "?" (its tag is set only after it is inserted).
bool placeholder(const TreeNode* node) {
    return !node || node->text() == "?" || EntryKinds::of(node) == EntryKind::Placeholder;
}

} // namespace

ExpandedWatch::ExpandedWatch(BrowserState& state, FolderWatchSet& folders, UiLoop& loop,
                             Timer& tick, FolderTree& tree, TreeWatch& watch)
    : state_(state), folders_(folders), tick_(tick), tree_(tree), watch_(watch),
      gather_(loop.newTimer()) {
    if (folders_.descriptor() >= 0)
        readable_ = loop.watchReadable(folders_.descriptor(), [this] { noticed(); });
    state_.c.treeControl.addObserver(this);
}

ExpandedWatch::~ExpandedWatch() {
    if (observing_)
        state_.c.treeControl.removeObserver(this);
    dropAll();
}

void ExpandedWatch::nodesInserted(const TreeNode* parent, int first, int) {
    // Children loaded under a collapsed node are the disk's as of now.
    if (parent && !parent->expanded() && !placeholder(parent->child(first)))
        loadedCollapsed_.insert(parent->key());
}

void ExpandedWatch::nodeExpandedChanged(const TreeNode* node) {
    const std::string& key = node->key();
    if (!node->expanded()) {
        drop(key);
        return;
    }
    if (EntryKinds::of(node) != EntryKind::Folder || nodes_.count(key))
        return;
    watch(node);
    const bool fresh = loadedCollapsed_.erase(key) > 0;
    // A dummy or undecided node is loaded by its expansion; loaded children may be stale.
    if (!fresh && !node->undecided() && (!node->firstChild() || !placeholder(node->firstChild())))
        changed_.insert(key);
    if (!changed_.empty() && gather_ && !gather_->running())
        gather_->start(kGatherMs, [this] { gatherEnded(); });
}

void ExpandedWatch::nodesAboutToBeRemoved(const TreeNode* parent, int first, int count) {
    std::vector<const TreeNode*> pending;
    for (int row = first; row < first + count; ++row)
        if (const TreeNode* node =
                parent ? parent->child(row) : state_.c.treeControl.topLevelNode(row))
            pending.push_back(node);
    while (!pending.empty()) {
        const TreeNode* node = pending.back();
        pending.pop_back();
        drop(node->key());
        loadedCollapsed_.erase(node->key());
        for (const TreeNode* c = node->firstChild(); c; c = c->nextSibling())
            pending.push_back(c);
    }
}

void ExpandedWatch::aboutToReset() {
    dropAll();
}

void ExpandedWatch::controlDestroyed() {
    observing_ = false;
    dropAll();
}

void ExpandedWatch::watch(const TreeNode* node) {
    const std::string& key = node->key();
    const std::optional<int> wd = folders_.add(tree_.nodeFolder(node));
    nodes_[key] = wd;
    if (wd)
        keysOf_[*wd].push_back(key);
    else
        unwatched_.push_back(key);
}

void ExpandedWatch::drop(const std::string& key) {
    changed_.erase(key);
    const auto it = nodes_.find(key);
    if (it == nodes_.end())
        return;
    if (const std::optional<int> wd = it->second) {
        auto& keys = keysOf_[*wd];
        std::erase(keys, key);
        if (keys.empty()) {
            keysOf_.erase(*wd);
            folders_.remove(*wd);
        }
    } else if (const auto at = std::find(unwatched_.begin(), unwatched_.end(), key);
               at != unwatched_.end()) {
        if (static_cast<std::size_t>(at - unwatched_.begin()) < nextUnwatched_)
            --nextUnwatched_;
        unwatched_.erase(at);
    }
    nodes_.erase(it);
}

void ExpandedWatch::dropAll() {
    for (const auto& [wd, keys] : keysOf_)
        folders_.remove(wd);
    keysOf_.clear();
    nodes_.clear();
    unwatched_.clear();
    nextUnwatched_ = 0;
    changed_.clear();
    loadedCollapsed_.clear();
}

void ExpandedWatch::takeNotices() {
    bool overflowed = false;
    for (const FolderWatchSet::Change& change : folders_.poll(overflowed)) {
        const auto it = keysOf_.find(change.watch);
        if (it == keysOf_.end())
            continue;
        changed_.insert(it->second.begin(), it->second.end());
        if (!change.ended)
            continue;
        // The folder itself went: its node is read by the tick until its parent's
        // reading takes it away.
        for (const std::string& key : it->second) {
            nodes_[key] = std::nullopt;
            unwatched_.push_back(key);
        }
        folders_.remove(change.watch);
        keysOf_.erase(it);
    }
    if (overflowed)
        for (const auto& [key, wd] : nodes_)
            changed_.insert(key);
}

void ExpandedWatch::noticed() {
    takeNotices();
    if (!gather_) {
        followChanged();
        return;
    }
    // No more calls while the notices are gathered; their end reads what waits.
    readable_->setEnabled(false);
    if (!gather_->running())
        gather_->start(kGatherMs, [this] { gatherEnded(); });
}

void ExpandedWatch::gatherEnded() {
    gather_->stop();
    takeNotices();
    followChanged();
    if (readable_)
        readable_->setEnabled(true);
}

void ExpandedWatch::followChanged() {
    if (silenced())
        return;
    // Taken out first: a merge may remove nodes, which drops them from the set.
    std::set<std::string> asked;
    asked.swap(changed_);
    for (const std::string& key : asked)
        if (!watch_.followNode(key))
            changed_.insert(key);
}

void ExpandedWatch::onTick() {
    if (gather_ && gather_->running())
        return;
    followChanged();
    if (silenced() || unwatched_.empty())
        return;
    const std::size_t turns = std::min(kUnwatchedPerTick, unwatched_.size());
    for (std::size_t i = 0; i < turns; ++i) {
        if (nextUnwatched_ >= unwatched_.size())
            nextUnwatched_ = 0;
        const std::string key = unwatched_[nextUnwatched_++];
        watch_.followNode(key);
    }
}
