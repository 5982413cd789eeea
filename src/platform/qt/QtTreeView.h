#pragma once

#include "platform/controls/TreeObserver.h"

#include <QTreeView>
#include <optional>
#include <string>

class BrowserInput;
class QtImageCache;
class QtTreeModel;
class TreeControl;

// The folder tree on screen. Shows a TreeControl through QtTreeModel, keeps the
// control's selection and expansion in step with the screen, and reports presses,
// releases, expansion, double-clicks, label edits, keys, focus loss and drag and drop to
// the logic. Expansions made by the program are not reported back. A double-click does
// not expand by itself, and labels are edited only when the program asks.
class QtTreeView : public QTreeView, public TreeObserver {
    Q_OBJECT

  public:
    QtTreeView(TreeControl& tree, QtImageCache& images, BrowserInput& input,
               QWidget* parent = nullptr);
    ~QtTreeView() override;

    QtTreeModel* treeModel() const { return model_; }
    // Key of the node whose icon or text is at a point of the viewport; empty for none.
    std::string keyAt(const QPoint& point) const;

    void nodesInserted(const TreeNode* parent, int first, int count) override;
    void nodesRemoved(const TreeNode* parent, int first, int count) override;
    void nodeExpandedChanged(const TreeNode* node) override;
    void selectionChanged(const TreeNode* selected) override;
    void reset() override;
    void labelEditRequested(const TreeNode* node) override;
    void ensureVisibleRequested(const TreeNode* node) override;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

  private:
    void onExpanded(const QModelIndex& index, bool expanded);
    void onCurrentChanged(const QModelIndex& current);
    void applyExpansion(const TreeNode* node);
    void applySelection();
    // Hands a finished edit to the logic after the editor has gone (the logic may
    // rebuild the rows) and shows the accepted text.
    void queueLabelEdit(std::string key, std::string oldText, std::optional<std::string> text);
    void reportLabelEdit(const std::string& key, const std::string& oldText,
                         const std::optional<std::string>& text);

    TreeControl& tree_;
    BrowserInput& input_;
    QtTreeModel* model_;
    // Set while the screen follows the control, so its signals are not taken as input.
    bool applying_ = false;
    std::string editingKey_;
    std::string editingOldText_;
};
