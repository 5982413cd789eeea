#pragma once

#include "controls/ListObserver.h"
#include "platform/qt/QtPaneView.h"

#include <optional>
#include <string>

class BrowserInput;
class ListControl;
class QtImageCache;
class QtListModel;

// The file list on screen: a report view with the ListControl's columns (hidden ones
// hidden, header images shown), multi-selection kept in step with the control, and
// presses, releases, double-clicks, header clicks, label edits, keys and drag and drop
// reported to the logic. Header clicks do not sort by themselves: the logic decides.
// Labels are edited only when the program asks.
class QtListView : public QtPaneView, public ListObserver {
    Q_OBJECT

  public:
    QtListView(ListControl& list, QtImageCache& images, BrowserInput& input,
               QWidget* parent = nullptr);
    ~QtListView() override;

    QtListModel* listModel() const { return model_; }
    // Key of the item at a point of the viewport; empty for none.
    std::string keyAt(const QPoint& point) const override;

    void itemsRemoved(int first, int count) override;
    void reset() override;
    void selectionChanged() override;
    void busyChanged(bool busy) override;
    void columnChanged(int column) override;
    void columnsReset() override;
    void labelEditRequested(const ListItem* item, LabelPart part) override;
    void ensureVisibleRequested(const ListItem* item) override;
    void topItemRequested(const ListItem* item) override;

  protected:
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

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
    void applyColumn(int column);
    void applySelection();
    void onSelectionChanged();
    void onSectionResized(int column, int newSize);
    void onScrolled();

    ListControl& list_;
    BrowserInput& input_;
    QtListModel* model_;
    bool applying_ = false;
};
