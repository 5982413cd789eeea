#pragma once

#include "controls/ListObserver.h"

#include <QAbstractTableModel>
#include <optional>
#include <string>

class ListControl;
class QtImageCache;

// The Qt item model of a ListControl: one row per item, the four column texts, icons in
// the first column, tooltips, colours and bold, and the column headers with their
// images. A bulk add of the control is one row insertion; a sort is one layout change
// that keeps the view's selection and current item on their items.
class QtListModel : public QAbstractTableModel, public ListObserver {
    Q_OBJECT

  public:
    QtListModel(ListControl& list, QtImageCache& images, QObject* parent = nullptr);
    ~QtListModel() override;

    ListItem* itemOf(const QModelIndex& index) const;
    QModelIndex indexOf(const ListItem* item, int column = 0) const;
    // True between the about-to and the done notice of a structural change, while Qt's
    // views move their current item on their own.
    bool changingRows() const { return changingRows_; }
    // False once the control has been destroyed (at shutdown, before the widgets).
    bool attached() const { return attached_; }
    // The text the editor committed last, once.
    std::optional<std::string> takeEditedText();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    Qt::DropActions supportedDropActions() const override;
    QStringList mimeTypes() const override;

    void itemsAboutToBeInserted(int first, int count) override;
    void itemsInserted(int first, int count) override;
    void itemsAboutToBeRemoved(int first, int count) override;
    void itemsRemoved(int first, int count) override;
    void itemChanged(const ListItem* item) override;
    void itemsChanged(int first, int last) override;
    void aboutToReorder() override;
    void reordered() override;
    void aboutToReset() override;
    void reset() override;
    void controlDestroyed() override;
    void columnChanged(int column) override;
    void columnsReset() override;

  private:
    ListControl& list_;
    QtImageCache& images_;
    std::optional<std::string> editedText_;
    bool changingRows_ = false;
    bool attached_ = true;
    QModelIndexList reorderedIndexes_;
    std::vector<std::pair<ListItem*, int>> reorderedItems_;
};
