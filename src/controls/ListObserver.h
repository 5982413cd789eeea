#pragma once

#include "controls/LabelSelection.h"

class ListItem;

// Change notifications of a ListControl for its views, in about-to / done pairs that a
// Qt item model maps to beginInsertRows/endInsertRows and the like. Rows are 0-based; a
// notification covers `count` consecutive rows from `first`. A bulk add is one insertion.
class ListObserver {
  public:
    virtual ~ListObserver() = default;

    virtual void itemsAboutToBeInserted(int /*first*/, int /*count*/) {}
    virtual void itemsInserted(int /*first*/, int /*count*/) {}
    virtual void itemsAboutToBeRemoved(int /*first*/, int /*count*/) {}
    virtual void itemsRemoved(int /*first*/, int /*count*/) {}
    // Texts, icon, tooltip, colour or bold of the item changed.
    virtual void itemChanged(const ListItem* /*item*/) {}
    // Items of rows first to last (inclusive) changed: the notice of a batch of changes.
    virtual void itemsChanged(int /*first*/, int /*last*/) {}
    // The order of the items changes (sorting); rows move, no item comes or goes.
    virtual void aboutToReorder() {}
    virtual void reordered() {}
    virtual void aboutToReset() {}
    virtual void reset() {}
    // Selection flags or the current item changed.
    virtual void selectionChanged() {}
    // A column's text, width, alignment, header image or visibility changed.
    virtual void columnChanged(int /*column*/) {}
    virtual void columnsReset() {}
    virtual void labelEditRequested(const ListItem* /*item*/, LabelPart /*part*/) {}
    virtual void ensureVisibleRequested(const ListItem* /*item*/) {}
    // Scroll so that the item is the first visible row.
    virtual void topItemRequested(const ListItem* /*item*/) {}
    // The list's folder is being read: the view shows the wait pointer over the list.
    virtual void busyChanged(bool /*busy*/) {}
    // The control is being destroyed: the observer must not touch it any more.
    virtual void controlDestroyed() {}
};
