#pragma once

#include "controls/LabelSelection.h"

class TreeNode;

// Change notifications of a TreeControl for its views. Structural changes come in
// about-to / done pairs so a Qt item model can map them to beginInsertRows/endInsertRows
// and the like. Rows are 0-based positions under `parent` (null: the top level); a
// notification covers `count` consecutive rows starting at `first`.
class TreeObserver {
  public:
    virtual ~TreeObserver() = default;

    virtual void nodesAboutToBeInserted(const TreeNode* /*parent*/, int /*first*/, int /*count*/) {}
    virtual void nodesInserted(const TreeNode* /*parent*/, int /*first*/, int /*count*/) {}
    virtual void nodesAboutToBeRemoved(const TreeNode* /*parent*/, int /*first*/, int /*count*/) {}
    virtual void nodesRemoved(const TreeNode* /*parent*/, int /*first*/, int /*count*/) {}
    // Text, image, bold or colours of the node changed.
    virtual void nodeChanged(const TreeNode* /*node*/) {}
    virtual void nodeExpandedChanged(const TreeNode* /*node*/) {}
    // The selected node changed; null when none is selected.
    virtual void selectionChanged(const TreeNode* /*selected*/) {}
    virtual void aboutToReset() {}
    virtual void reset() {}
    // The program asks the view to start editing the node's text.
    virtual void labelEditRequested(const TreeNode* /*node*/, LabelPart /*part*/) {}
    // The program asks the view to scroll the node into sight.
    virtual void ensureVisibleRequested(const TreeNode* /*node*/) {}
    // The control is being destroyed: the observer must not touch it any more.
    virtual void controlDestroyed() {}
};
