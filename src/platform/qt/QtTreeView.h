#pragma once

#include "controls/TreeObserver.h"
#include "platform/qt/QtPaneView.h"

#include <QTimer>
#include <optional>
#include <string>

class BrowserInput;
class QtImageCache;
class QtTreeModel;
class TreeControl;

// The folder tree on screen. Shows a TreeControl through QtTreeModel, keeps the
// control's selection and expansion in step with the screen, and reports presses,
// releases, expansion, double-clicks, label edits, keys, focus loss and drag and drop to
// the logic. Expansions made by the program are not reported back. A double-click on a
// folder expands or collapses it as the view does by itself; labels are edited only when
// the program asks. A selection moved by keys reaches the logic as a press on the node
// once the keys have rested for kKeyFollowMs.
class QtTreeView : public QtPaneView, public TreeObserver {
    Q_OBJECT

  public:
    static constexpr int kKeyFollowMs = 300;

    QtTreeView(TreeControl& tree, QtImageCache& images, BrowserInput& input,
               QWidget* parent = nullptr);
    ~QtTreeView() override;

    QtTreeModel* treeModel() const { return model_; }
    // Key of the node whose icon or text is at a point of the viewport; empty for none.
    std::string keyAt(const QPoint& point) const override;

    void nodesInserted(const TreeNode* parent, int first, int count) override;
    void nodesRemoved(const TreeNode* parent, int first, int count) override;
    void nodeExpandedChanged(const TreeNode* node) override;
    void selectionChanged(const TreeNode* selected) override;
    void reset() override;
    void labelEditRequested(const TreeNode* node, LabelPart part) override;
    void ensureVisibleRequested(const TreeNode* node) override;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

    std::vector<std::string> dragStarting() override;
    void dragOver(const std::string& key, DragState state) override;
    DropOutcome dropped(const std::string& key, const std::vector<std::string>& paths,
                        KeyModifiers modifiers) override;
    bool labelEdited(const std::string& key, const std::optional<std::string>& text) override;
    std::optional<std::string> takeEditedText() override;
    bool showsControl() const override;
    void showLabel(const std::string& key, const std::string& oldText,
                   const std::string& text) override;

  private:
    void onExpanded(const QModelIndex& index, bool expanded);
    void onCurrentChanged(const QModelIndex& current);
    void applyExpansion(const TreeNode* node);
    void applySelection();
    void followKeyboardSelection();
    // Tells the logic, once the paint is over, which painted rows are still undecided.
    void reportUndecidedRows();

    TreeControl& tree_;
    BrowserInput& input_;
    QtTreeModel* model_;
    // Set while the screen follows the control, so its signals are not taken as input.
    bool applying_ = false;
    // A scroll asked for while the view was hidden.
    std::string pendingScrollKey_;
    bool movingByKey_ = false;
    QTimer keyFollow_;
    std::string keyFollowKey_;
    bool undecidedReportQueued_ = false;
};
