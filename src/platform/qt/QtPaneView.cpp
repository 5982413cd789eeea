#include "platform/qt/QtPaneView.h"

#include "platform/qt/Guarded.h"
#include "platform/qt/QtPaneInput.h"

#include <QAbstractItemDelegate>
#include <QDragEnterEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyleOptionViewItem>
#include <QToolTip>
#include <algorithm>

QtPaneView::QtPaneView(const char* pane, QWidget* parent) : QTreeView(parent), pane_(pane) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DragDrop);
    setAutoScroll(false);
}

std::string QtPaneView::handler(const char* what) const {
    return std::string(pane_) + " " + what;
}

void QtPaneView::editLabel(const QModelIndex& index, std::string key, std::string oldText,
                           LabelPart part) {
    scrollTo(index);
    takeEditedText();
    editingKey_ = std::move(key);
    editingOldText_ = std::move(oldText);
    if (!edit(index, QAbstractItemView::AllEditTriggers, nullptr)) {
        queueLabelEdit(std::exchange(editingKey_, {}), editingOldText_, std::nullopt);
        return;
    }
    // The view selects the editor's whole text; the part asked for replaces that.
    if (auto* editor = qobject_cast<QLineEdit*>(indexWidget(index))) {
        const QString text = editor->text();
        const std::u16string_view shown(reinterpret_cast<const char16_t*>(text.utf16()),
                                        static_cast<std::size_t>(text.size()));
        editor->setSelection(0, static_cast<int>(LabelSelection::length(shown, part)));
    }
}

void QtPaneView::startDrag(Qt::DropActions) {
    std::vector<std::string> paths;
    guarded(handler("drag start").c_str(), [&] { paths = dragStarting(); });
    QtPaneInput::startDrag(this, paths);
}

void QtPaneView::dragEnterEvent(QDragEnterEvent* event) {
    QtPaneInput::dragPassing(
        event, DragState::Enter, [this](const QPoint& p) { return keyAt(p); },
        [this](const std::string& key, DragState state) { dragOver(key, state); });
}

void QtPaneView::dragMoveEvent(QDragMoveEvent* event) {
    QtPaneInput::dragPassing(
        event, DragState::Over, [this](const QPoint& p) { return keyAt(p); },
        [this](const std::string& key, DragState state) { dragOver(key, state); });
}

void QtPaneView::dragLeaveEvent(QDragLeaveEvent* event) {
    event->accept();
    guarded(handler("drag").c_str(), [&] { dragOver({}, DragState::Leave); });
}

void QtPaneView::dropEvent(QDropEvent* event) {
    // A drag of this program has a source here; one of another program has none.
    QtPaneInput::dropped(
        event, event->source() != nullptr, this, [this](const QPoint& p) { return keyAt(p); },
        [this](const std::string& key, const std::vector<std::string>& paths,
               KeyModifiers modifiers) { return dropped(key, paths, modifiers); });
}

void QtPaneView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    QTreeView::closeEditor(editor, hint);
    std::string key = std::exchange(editingKey_, {});
    if (!key.empty()) {
        queueLabelEdit(std::move(key), editingOldText_, takeEditedText());
    }
}

bool QtPaneView::keyOfEditor(QKeyEvent* event) {
    if (state() != EditingState)
        return false;
    event->accept();
    return true;
}

void QtPaneView::queueLabelEdit(std::string key, std::string oldText,
                                std::optional<std::string> text) {
    QMetaObject::invokeMethod(
        this, [this, key, oldText, text] { reportLabelEdit(key, oldText, text); },
        Qt::QueuedConnection);
}

void QtPaneView::reportLabelEdit(const std::string& key, const std::string& oldText,
                                 const std::optional<std::string>& text) {
    if (!showsControl()) {
        return;
    }
    bool accepted = false;
    guarded(handler("label edit").c_str(), [&] { accepted = labelEdited(key, text); });
    if (accepted && text) {
        showLabel(key, oldText, *text);
    }
}

bool QtPaneView::cutOff(const QModelIndex& index) const {
    const QRect cell = visualRect(index);
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = cell;
    const QAbstractItemDelegate* delegate = itemDelegateForIndex(index);
    const int wanted = delegate ? delegate->sizeHint(option, index).width() : 0;
    return cell.left() + wanted > std::min(cell.right() + 1, viewport()->width());
}

bool QtPaneView::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip) {
        return QTreeView::viewportEvent(event);
    }
    // A text cut off by its column or the pane's edge shows whole as the tooltip, above
    // the item's own tooltip.
    auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = indexAt(help->pos());
    if (!index.isValid() || !cutOff(index)) {
        return QTreeView::viewportEvent(event);
    }
    QString tip = index.data(Qt::DisplayRole).toString();
    if (const QString own = index.data(Qt::ToolTipRole).toString(); !own.isEmpty()) {
        tip += QLatin1Char('\n') + own;
    }
    QToolTip::showText(help->globalPos(), tip, viewport(), visualRect(index));
    return true;
}
