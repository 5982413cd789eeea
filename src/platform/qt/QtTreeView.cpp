#include "platform/qt/QtTreeView.h"

#include "controls/BrowserInput.h"
#include "controls/TreeControl.h"
#include "platform/qt/Guarded.h"
#include "platform/qt/QtPaneInput.h"
#include "platform/qt/QtTreeModel.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>

QtTreeView::QtTreeView(TreeControl& tree, QtImageCache& images, BrowserInput& input,
                       QWidget* parent)
    : QtPaneView("tree", parent), tree_(tree), input_(input),
      model_(new QtTreeModel(tree, images, this)) {
    setModel(model_);
    setHeaderHidden(true);
    setUniformRowHeights(true);
    // A double-click on a folder node reaches the logic, which opens or closes it; the
    // view's own toggle would be undone by it.
    setExpandsOnDoubleClick(false);
    keyFollow_.setSingleShot(true);
    keyFollow_.setInterval(kKeyFollowMs);
    connect(&keyFollow_, &QTimer::timeout, this, [this] { followKeyboardSelection(); });
    setSelectionMode(QAbstractItemView::SingleSelection);
    tree_.addObserver(this);
    connect(this, &QTreeView::expanded, this,
            [this](const QModelIndex& i) { onExpanded(i, true); });
    connect(this, &QTreeView::collapsed, this,
            [this](const QModelIndex& i) { onExpanded(i, false); });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { onCurrentChanged(current); });
}

QtTreeView::~QtTreeView() {
    if (model_->attached()) {
        tree_.removeObserver(this);
    }
}

std::string QtTreeView::keyAt(const QPoint& point) const {
    // The expand button and the indentation in front of a node are not the node.
    const QModelIndex index = indexAt(point);
    const TreeNode* node = model_->nodeOf(index);
    if (node == nullptr || point.x() < visualRect(index).left()) {
        return {};
    }
    return node->key();
}

// ---- Control to screen ----

void QtTreeView::paintEvent(QPaintEvent* event) {
    QtPaneView::paintEvent(event);
    reportUndecidedRows();
}

void QtTreeView::reportUndecidedRows() {
    if (undecidedReportQueued_)
        return;
    std::vector<std::string> keys;
    const int bottom = viewport()->height();
    for (QModelIndex i = indexAt(QPoint(0, 0)); i.isValid() && visualRect(i).top() < bottom;
         i = indexBelow(i)) {
        if (const TreeNode* node = model_->nodeOf(i); node && node->undecided())
            keys.push_back(node->key());
    }
    if (keys.empty())
        return;
    // The logic may add rows; that must not happen inside the paint.
    undecidedReportQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this, keys = std::move(keys)] {
            undecidedReportQueued_ = false;
            guarded("rows shown", [&] { input_.treeRowsShown(keys); });
        },
        Qt::QueuedConnection);
}

void QtTreeView::applyExpansion(const TreeNode* node) {
    const QModelIndex index = model_->indexOf(node);
    if (index.isValid() && isExpanded(index) != node->expanded()) {
        applying_ = true;
        setExpanded(index, node->expanded());
        applying_ = false;
    }
}

void QtTreeView::applySelection() {
    applying_ = true;
    const QModelIndex index = model_->indexOf(tree_.selected());
    if (index.isValid()) {
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    } else {
        selectionModel()->clearSelection();
        selectionModel()->setCurrentIndex({}, QItemSelectionModel::NoUpdate);
    }
    applying_ = false;
}

void QtTreeView::nodesInserted(const TreeNode* parent, int, int) {
    // A node the program expanded before it had children opens once they arrive.
    if (parent && parent->expanded()) {
        applyExpansion(parent);
    }
}

void QtTreeView::nodesRemoved(const TreeNode*, int, int) {
    // Qt moved the current item off the removed rows; the control's selection stands.
    applySelection();
}

void QtTreeView::reset() {
    // Also the item view's own reset, which this override hides: without it the view
    // keeps drawing the rows it had.
    QTreeView::reset();
    applySelection();
}

void QtTreeView::nodeExpandedChanged(const TreeNode* node) {
    applyExpansion(node);
}

void QtTreeView::selectionChanged(const TreeNode*) {
    applySelection();
}

void QtTreeView::ensureVisibleRequested(const TreeNode* node) {
    // Before the view has its size a scroll would be measured against the wrong height:
    // it is made once the view shows.
    if (!isVisible()) {
        pendingScrollKey_ = node->key();
        return;
    }
    pendingScrollKey_.clear();
    scrollTo(model_->indexOf(node));
}

void QtTreeView::showEvent(QShowEvent* event) {
    QtPaneView::showEvent(event);
    if (pendingScrollKey_.empty()) {
        return;
    }
    QTimer::singleShot(0, this, [this] {
        const TreeNode* node = model_->attached() && !pendingScrollKey_.empty()
                                   ? tree_.find(pendingScrollKey_)
                                   : nullptr;
        pendingScrollKey_.clear();
        if (node != nullptr) {
            scrollTo(model_->indexOf(node));
        }
    });
}

void QtTreeView::labelEditRequested(const TreeNode* node, LabelPart part) {
    editLabel(model_->indexOf(node), std::string(node->key()), std::string(node->text()), part);
}

// ---- Screen to control and logic ----

void QtTreeView::onExpanded(const QModelIndex& index, bool expanded) {
    TreeNode* node = model_->nodeOf(index);
    if (applying_ || node == nullptr || !model_->attached()) {
        return;
    }
    tree_.setExpandedFromView(node, expanded, this);
    const std::string key = node->key();
    guarded("tree expansion", [&] {
        if (expanded) {
            input_.treeNodeExpanding(key);
        } else {
            input_.treeNodeCollapsed(key);
        }
    });
}

void QtTreeView::onCurrentChanged(const QModelIndex& current) {
    if (!applying_ && !model_->changingRows() && model_->attached()) {
        TreeNode* node = model_->nodeOf(current);
        tree_.selectFromView(node, this);
        if (movingByKey_ && node != nullptr) {
            keyFollowKey_ = node->key();
            keyFollow_.start();
        }
    }
}

void QtTreeView::followKeyboardSelection() {
    // The list follows a selection moved by keys as it follows a press on the node, once
    // the keys have come to rest.
    if (!model_->attached() || tree_.selected() == nullptr ||
        tree_.selected()->key() != keyFollowKey_) {
        return;
    }
    const std::string key = keyFollowKey_;
    guarded("tree key selection", [&] { input_.treeMousePressed(key, MouseButton::Left, {}); });
}

void QtTreeView::mousePressEvent(QMouseEvent* event) {
    keyFollow_.stop();
    const std::string key = keyAt(event->position().toPoint());
    if (event->button() == Qt::RightButton) {
        // The right button leaves the selection where it is.
        setFocus(Qt::MouseFocusReason);
    } else {
        QTreeView::mousePressEvent(event);
    }
    guarded("tree press", [&] {
        input_.treeMousePressed(key, QtPaneInput::button(event->button()),
                                QtPaneInput::modifiers(event->modifiers()));
    });
}

void QtTreeView::mouseReleaseEvent(QMouseEvent* event) {
    const std::string key = keyAt(event->position().toPoint());
    QTreeView::mouseReleaseEvent(event);
    guarded("tree release", [&] {
        input_.treeMouseReleased(key, QtPaneInput::button(event->button()),
                                 QtPaneInput::modifiers(event->modifiers()));
    });
}

void QtTreeView::mouseDoubleClickEvent(QMouseEvent* event) {
    const std::string key = keyAt(event->position().toPoint());
    QTreeView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) {
        guarded("tree double-click", [&] { input_.treeNodeDoubleClicked(key); });
    }
}

void QtTreeView::keyPressEvent(QKeyEvent* event) {
    if (keyOfEditor(event))
        return;
    const BrowserKey key = QtPaneInput::key(event->key());
    const KeyModifiers modifiers = QtPaneInput::modifiers(event->modifiers());
    if (!QtPaneInput::ownsKey(key, modifiers)) {
        movingByKey_ = true;
        QTreeView::keyPressEvent(event);
        movingByKey_ = false;
    }
    guarded("tree key", [&] { input_.treeKeyPressed(key, modifiers); });
}

void QtTreeView::focusOutEvent(QFocusEvent* event) {
    QTreeView::focusOutEvent(event);
    // Popup menus, other windows and the label editor do not take the focus away from
    // the tree in the program's sense.
    const QWidget* now = QApplication::focusWidget();
    const bool toOwnChild = now != nullptr && isAncestorOf(now);
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason ||
        toOwnChild) {
        return;
    }
    guarded("tree focus loss", [&] { input_.treeFocusLost(); });
}

// ---- The pane's part of the logic ----

std::vector<std::string> QtTreeView::dragStarting() {
    return input_.treeDragStarting();
}

void QtTreeView::dragOver(const std::string& key, DragState state) {
    input_.treeDragOver(key, state);
}

DropOutcome QtTreeView::dropped(const std::string& key, const std::vector<std::string>& paths,
                                KeyModifiers modifiers) {
    return input_.treeDropped(key, paths, modifiers);
}

bool QtTreeView::labelEdited(const std::string& key, const std::optional<std::string>& text) {
    return input_.treeLabelEdited(key, text);
}

std::optional<std::string> QtTreeView::takeEditedText() {
    return model_->takeEditedText();
}

bool QtTreeView::showsControl() const {
    return model_->attached();
}

void QtTreeView::showLabel(const std::string& key, const std::string& oldText,
                           const std::string& text) {
    TreeNode* node = tree_.find(key);
    if (node && node->text() == oldText) {
        tree_.setText(node, text);
    }
}
