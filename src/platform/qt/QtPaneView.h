#pragma once

#include "controls/ControlTypes.h"
#include "controls/LabelSelection.h"

#include <QTreeView>
#include <optional>
#include <string>
#include <vector>

// What the tree and the list views share: drags, drag-overs and drops reported to the
// logic by item key, and label edits handed to the logic after the editor has gone (the
// logic may rebuild the rows), the accepted text then shown. Each pane says how its
// items and its part of the logic are reached.
class QtPaneView : public QTreeView {
  public:
    // `pane` names the pane in reports of failed handlers ("tree", "list").
    QtPaneView(const char* pane, QWidget* parent);

    // Key of the item at a point of the viewport; empty for none.
    virtual std::string keyAt(const QPoint& point) const = 0;

  protected:
    // Edits the label at `index` with `part` of it selected; the logic hears of the outcome
    // also when no editor opens.
    void editLabel(const QModelIndex& index, std::string key, std::string oldText, LabelPart part);
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    // True for a key pressed while a name editor is open: the editor left it (Return that
    // ends the edit, F2, Delete at the end of the text), and it ends there, never reaching
    // the pane's logic, which would act on the item being renamed.
    bool keyOfEditor(QKeyEvent* event);
    bool viewportEvent(QEvent* event) override;

    // The pane's part of the logic.
    virtual std::vector<std::string> dragStarting() = 0;
    virtual void dragOver(const std::string& key, DragState state) = 0;
    virtual DropOutcome dropped(const std::string& key, const std::vector<std::string>& paths,
                                KeyModifiers modifiers) = 0;
    virtual bool labelEdited(const std::string& key, const std::optional<std::string>& text) = 0;
    // The pane's model: the text its editor left, and whether it still shows its control.
    virtual std::optional<std::string> takeEditedText() = 0;
    virtual bool showsControl() const = 0;
    // Shows an accepted label, unless the item is gone or its text changed meanwhile.
    virtual void showLabel(const std::string& key, const std::string& oldText,
                           const std::string& text) = 0;

  private:
    // Whether the item's text does not fit its column or the pane.
    bool cutOff(const QModelIndex& index) const;
    // Names a handler of this pane for reports of failures.
    std::string handler(const char* what) const;
    void queueLabelEdit(std::string key, std::string oldText, std::optional<std::string> text);
    void reportLabelEdit(const std::string& key, const std::string& oldText,
                         const std::optional<std::string>& text);

    const char* pane_;
    std::string editingKey_;
    std::string editingOldText_;
};
