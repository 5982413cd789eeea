#pragma once

#include "controls/ListObserver.h"
#include "controls/TreeNode.h"
#include "controls/TreeObserver.h"

#include <string>
#include <vector>

// Observers that write every notice as a line of text, for comparing sequences.
// Declare one before the control it watches: the control tells its observers when it is
// destroyed, so an observer must outlive it.
class RecordingTreeObserver : public TreeObserver {
  public:
    std::vector<std::string> events;

    void nodesAboutToBeInserted(const TreeNode* parent, int first, int count) override {
        add("about-insert", parent, first, count);
    }
    void nodesInserted(const TreeNode* parent, int first, int count) override {
        add("inserted", parent, first, count);
    }
    void nodesAboutToBeRemoved(const TreeNode* parent, int first, int count) override {
        add("about-remove", parent, first, count);
    }
    void nodesRemoved(const TreeNode* parent, int first, int count) override {
        add("removed", parent, first, count);
    }
    void nodeChanged(const TreeNode* node) override { events.push_back("changed " + node->key()); }
    void nodeExpandedChanged(const TreeNode* node) override {
        events.push_back("expanded " + node->key() + (node->expanded() ? " 1" : " 0"));
    }
    void selectionChanged(const TreeNode* node) override {
        events.push_back("selected " + (node ? node->key() : std::string("-")));
    }
    void reset() override { events.push_back("reset"); }

  private:
    void add(const std::string& what, const TreeNode* parent, int first, int count) {
        events.push_back(what + " " + (parent ? parent->key() : std::string("-")) + " " +
                         std::to_string(first) + " " + std::to_string(count));
    }
};

class RecordingListObserver : public ListObserver {
  public:
    std::vector<std::string> events;

    void itemsAboutToBeInserted(int first, int count) override {
        add("about-insert", first, count);
    }
    void itemsInserted(int first, int count) override { add("inserted", first, count); }
    void itemsAboutToBeRemoved(int first, int count) override { add("about-remove", first, count); }
    void itemsRemoved(int first, int count) override { add("removed", first, count); }
    void itemChanged(const ListItem*) override { events.push_back("changed"); }
    void itemsChanged(int first, int last) override {
        events.push_back("changed " + std::to_string(first) + "-" + std::to_string(last));
    }
    void reordered() override { events.push_back("reordered"); }
    void reset() override { events.push_back("reset"); }

  private:
    void add(const std::string& what, int first, int count) {
        events.push_back(what + " " + std::to_string(first) + " " + std::to_string(count));
    }
};
