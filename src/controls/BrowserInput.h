#pragma once

#include "controls/ControlTypes.h"

#include <optional>
#include <string>
#include <vector>

// User input of the browser's panes as plain calls into the logic. The Qt views make
// these calls; tests make the same calls directly. Keys are TreeNode / ListItem keys; an
// empty key means "no node / no row at that place". By the time a call arrives the view
// has already recorded in the controls what the user changed on screen (selection,
// expansion, column widths, pane sizes). Implementations must not throw.
class BrowserInput {
  public:
    virtual ~BrowserInput() = default;

    // Tree pane. A right-button press does not change the tree's selection.
    virtual void treeMousePressed(const std::string& key, MouseButton button,
                                  KeyModifiers modifiers) = 0;
    virtual void treeMouseReleased(const std::string& key, MouseButton button,
                                   KeyModifiers modifiers) = 0;
    // The user opens a node (expand button, keyboard); the node is already marked
    // expanded. A double-click never expands or collapses by itself.
    virtual void treeNodeExpanding(const std::string& key) = 0;
    virtual void treeNodeCollapsed(const std::string& key) = 0;
    virtual void treeNodeDoubleClicked(const std::string& key) = 0;
    // A label edit ended: the new text, or nothing when the user abandoned it. Returns
    // whether the new text stands; the view then shows it (unless the logic has set
    // another text meanwhile), otherwise the old text comes back.
    virtual bool treeLabelEdited(const std::string& key,
                                 const std::optional<std::string>& newText) = 0;
    virtual void treeKeyPressed(BrowserKey key, KeyModifiers modifiers) = 0;
    virtual void treeFocusLost() = 0;
    // Rows of undecided nodes were painted; reported after the paint, never during it.
    virtual void treeRowsShown(const std::vector<std::string>& keys) = 0;
    // A drag starts from the node pressed last: the full paths to offer (none: no drag).
    virtual std::vector<std::string> treeDragStarting() = 0;
    virtual void treeDragOver(const std::string& key, DragState state) = 0;
    // A drop of whole paths with the modifiers held at the drop; what was done with them,
    // for the drag's source. The items have been copied or moved when this returns.
    virtual DropOutcome treeDropped(const std::string& key, const std::vector<std::string>& paths,
                                    KeyModifiers modifiers) = 0;

    // List pane.
    virtual void listMousePressed(const std::string& key, MouseButton button,
                                  KeyModifiers modifiers) = 0;
    virtual void listMouseReleased(const std::string& key, MouseButton button,
                                   KeyModifiers modifiers) = 0;
    virtual void listDoubleClicked(const std::string& key) = 0;
    // A click on a column header, numbered from 1.
    virtual void listHeaderClicked(int column) = 0;
    virtual bool listLabelEdited(const std::string& key,
                                 const std::optional<std::string>& newText) = 0;
    virtual void listKeyPressed(BrowserKey key, KeyModifiers modifiers) = 0;
    virtual std::vector<std::string> listDragStarting() = 0;
    virtual void listDragOver(const std::string& key, DragState state) = 0;
    virtual DropOutcome listDropped(const std::string& key, const std::vector<std::string>& paths,
                                    KeyModifiers modifiers) = 0;

    // Top panes. The drive list's selection is already the chosen entry.
    virtual void driveChosen(int index) = 0;
    // Button 0 to 2 of the row above the tree.
    virtual void retButtonClicked(int index) = 0;

    // The browser control got a new size (pixels); the Splitter holds it too.
    virtual void resized(int width, int height) = 0;
};
