#include "platform/qt/QtListView.h"

#include "controls/BrowserInput.h"
#include "controls/ListControl.h"
#include "platform/qt/Guarded.h"
#include "platform/qt/QtListModel.h"
#include "platform/qt/QtPaneInput.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>

QtListView::QtListView(ListControl& list, QtImageCache& images, BrowserInput& input,
                       QWidget* parent)
    : QtPaneView("list", parent), list_(list), input_(input),
      model_(new QtListModel(list, images, this)) {
    setModel(model_);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    list_.addObserver(this);
    columnsReset();
    connect(header(), &QHeaderView::sectionClicked, this, [this](int section) {
        guarded("list header click", [&] { input_.listHeaderClicked(section + 1); });
    });
    connect(header(), &QHeaderView::sectionResized, this,
            [this](int column, int, int size) { onSectionResized(column, size); });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { onSelectionChanged(); });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { onSelectionChanged(); });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { onScrolled(); });
}

QtListView::~QtListView() {
    if (model_->attached()) {
        list_.removeObserver(this);
    }
}

std::string QtListView::keyAt(const QPoint& point) const {
    const ListItem* item = model_->itemOf(indexAt(point));
    return item ? std::string(item->key()) : std::string();
}

// ---- Control to screen ----

void QtListView::applyColumn(int column) {
    if (column < 0 || column >= list_.columnCount()) {
        return;
    }
    applying_ = true;
    const ListColumn& shown = list_.column(column);
    setColumnHidden(column, shown.hidden);
    if (!shown.hidden) {
        header()->resizeSection(column, shown.width);
    }
    applying_ = false;
}

void QtListView::columnChanged(int column) {
    applyColumn(column);
}

void QtListView::columnsReset() {
    for (int column = 0; column < list_.columnCount(); ++column) {
        applyColumn(column);
    }
}

void QtListView::applySelection() {
    applying_ = true;
    QItemSelection selection;
    const int last = ListItem::columnCount - 1;
    int runStart = -1;
    for (int row = 0; row <= list_.count(); ++row) {
        const bool selected = row < list_.count() && list_.itemAt(row + 1)->selected();
        if (selected && runStart < 0) {
            runStart = row;
        } else if (!selected && runStart >= 0) {
            selection.select(model_->index(runStart, 0), model_->index(row - 1, last));
            runStart = -1;
        }
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    selectionModel()->setCurrentIndex(model_->indexOf(list_.current()),
                                      QItemSelectionModel::NoUpdate);
    applying_ = false;
}

void QtListView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                             const QList<int>& roles) {
    // A reconciliation reports a large folder's rows changed as one range, and Qt would
    // work out the rectangle of every row in it. Repainting what is in sight is enough:
    // rows out of sight are drawn from the model when they scroll in. An open editor
    // still has its text brought up to date the usual way.
    constexpr int kWholeViewFrom = 256;
    if (bottomRight.row() - topLeft.row() < kWholeViewFrom || state() == EditingState) {
        QTreeView::dataChanged(topLeft, bottomRight, roles);
        return;
    }
    viewport()->update();
}

void QtListView::itemsRemoved(int, int) {
    // Qt moved the current row off the removed rows; the control's selection stands.
    applySelection();
}

void QtListView::reset() {
    // Also the item view's own reset, which this override hides: without it the view
    // keeps drawing the rows it had.
    QTreeView::reset();
    applySelection();
    onScrolled();
}

void QtListView::selectionChanged() {
    applySelection();
}

void QtListView::busyChanged(bool busy) {
    if (busy)
        viewport()->setCursor(Qt::BusyCursor);
    else
        viewport()->unsetCursor();
}

void QtListView::ensureVisibleRequested(const ListItem* item) {
    scrollTo(model_->indexOf(item));
}

void QtListView::topItemRequested(const ListItem* item) {
    scrollTo(model_->indexOf(item), QAbstractItemView::PositionAtTop);
}

void QtListView::labelEditRequested(const ListItem* item, LabelPart part) {
    editLabel(model_->indexOf(item), std::string(item->key()), std::string(item->text()), part);
}

// ---- Screen to control and logic ----

void QtListView::onSelectionChanged() {
    if (applying_ || model_->changingRows() || !model_->attached()) {
        return;
    }
    std::vector<ListItem*> selected;
    for (const QModelIndex& index : selectionModel()->selectedRows()) {
        if (ListItem* item = model_->itemOf(index)) {
            selected.push_back(item);
        }
    }
    list_.setSelectionFromView(selected, model_->itemOf(currentIndex()), this);
}

void QtListView::onSectionResized(int column, int newSize) {
    if (!applying_ && model_->attached() && column < list_.columnCount() &&
        !list_.column(column).hidden) {
        list_.setColumnWidthFromView(column, newSize, this);
    }
}

void QtListView::onScrolled() {
    if (!model_->attached()) {
        return;
    }
    list_.setTopItemFromView(model_->itemOf(indexAt(QPoint(1, 1))));
}

void QtListView::mousePressEvent(QMouseEvent* event) {
    const std::string key = keyAt(event->position().toPoint());
    QTreeView::mousePressEvent(event);
    guarded("list press", [&] {
        input_.listMousePressed(key, QtPaneInput::button(event->button()),
                                QtPaneInput::modifiers(event->modifiers()));
    });
}

void QtListView::mouseReleaseEvent(QMouseEvent* event) {
    const std::string key = keyAt(event->position().toPoint());
    QTreeView::mouseReleaseEvent(event);
    guarded("list release", [&] {
        input_.listMouseReleased(key, QtPaneInput::button(event->button()),
                                 QtPaneInput::modifiers(event->modifiers()));
    });
}

void QtListView::mouseDoubleClickEvent(QMouseEvent* event) {
    const std::string key = keyAt(event->position().toPoint());
    QTreeView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) {
        guarded("list double-click", [&] { input_.listDoubleClicked(key); });
    }
}

void QtListView::keyPressEvent(QKeyEvent* event) {
    if (keyOfEditor(event))
        return;
    const BrowserKey key = QtPaneInput::key(event->key());
    const KeyModifiers modifiers = QtPaneInput::modifiers(event->modifiers());
    if (!QtPaneInput::ownsKey(key, modifiers)) {
        QTreeView::keyPressEvent(event);
    }
    guarded("list key", [&] { input_.listKeyPressed(key, modifiers); });
}

// ---- The pane's part of the logic ----

std::vector<std::string> QtListView::dragStarting() {
    return input_.listDragStarting();
}

void QtListView::dragOver(const std::string& key, DragState state) {
    input_.listDragOver(key, state);
}

DropOutcome QtListView::dropped(const std::string& key, const std::vector<std::string>& paths,
                                KeyModifiers modifiers) {
    return input_.listDropped(key, paths, modifiers);
}

bool QtListView::labelEdited(const std::string& key, const std::optional<std::string>& text) {
    return input_.listLabelEdited(key, text);
}

std::optional<std::string> QtListView::takeEditedText() {
    return model_->takeEditedText();
}

bool QtListView::showsControl() const {
    return model_->attached();
}

void QtListView::showLabel(const std::string& key, const std::string& oldText,
                           const std::string& text) {
    ListItem* item = list_.find(key);
    if (item && item->text() == oldText) {
        list_.setText(item, text);
    }
}
