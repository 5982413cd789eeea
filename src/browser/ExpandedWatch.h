#pragma once

#include "browser/BrowserState.h"
#include "controls/TreeObserver.h"
#include "platform/ReadableWatch.h"
#include "platform/Timer.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class FolderTree;
class FolderWatchSet;
class TreeNode;
class TreeWatch;
class UiLoop;

// Keeps the tree's expanded nodes in step with the disk. Each expanded folder node has a
// watch of its folder, added when the node is expanded and dropped when it collapses or
// goes (with its subtree) or the tree is rebuilt; a node expanded again whose children
// were loaded before is read once, since its watch missed what happened meanwhile.
// Notices are gathered for kGatherMs and then every node they named is read once, away
// from the window's thread, and its children merged with the disk (TreeWatch::followNode),
// so a burst costs a read per folder. A node whose folder cannot be watched (network, FUSE,
// the watch limit) is read by the tick instead, a few such nodes per tick in turn. Nothing
// runs while nothing changes. Whatever keeps the tick quiet (the busy flag, the paused
// tick) keeps this quiet too: the tick picks up what was left.
class ExpandedWatch : public TreeObserver {
  public:
    static constexpr int kGatherMs = 100;
    static constexpr std::size_t kUnwatchedPerTick = 4;

    ExpandedWatch(BrowserState& state, FolderWatchSet& folders, UiLoop& loop, Timer& tick,
                  FolderTree& tree, TreeWatch& watch);
    ~ExpandedWatch() override;
    ExpandedWatch(const ExpandedWatch&) = delete;
    ExpandedWatch& operator=(const ExpandedWatch&) = delete;

    // The tick's part: what notices left while quiet, and the next unwatched nodes.
    void onTick();
    // Expanded nodes followed, by a watch or by the tick.
    std::size_t followed() const { return nodes_.size(); }

  private:
    void nodesInserted(const TreeNode* parent, int first, int count) override;
    void nodeExpandedChanged(const TreeNode* node) override;
    void nodesAboutToBeRemoved(const TreeNode* parent, int first, int count) override;
    void aboutToReset() override;
    void controlDestroyed() override;

    void watch(const TreeNode* node);
    void drop(const std::string& key);
    void dropAll();
    void noticed();
    void gatherEnded();
    // Takes the notices that wait and marks the nodes they name.
    void takeNotices();
    void followChanged();
    bool silenced() const { return state_.busy || !tick_.running(); }

    BrowserState& state_;
    FolderWatchSet& folders_;
    Timer& tick_;
    FolderTree& tree_;
    TreeWatch& watch_;
    std::unique_ptr<Timer> gather_;
    std::unique_ptr<ReadableWatch> readable_;
    bool observing_ = true;
    // Followed nodes by key: their watch, or none when the tick reads them.
    std::unordered_map<std::string, std::optional<int>> nodes_;
    std::unordered_map<int, std::vector<std::string>> keysOf_;
    std::vector<std::string> unwatched_;
    std::size_t nextUnwatched_ = 0;
    // Nodes to read, in key order.
    std::set<std::string> changed_;
    // Collapsed nodes whose children were just loaded: their expansion needs no read.
    std::unordered_set<std::string> loadedCollapsed_;
};
