#pragma once

#include "controls/TreeObserver.h"

#include <QAbstractItemModel>
#include <optional>
#include <string>

class QtImageCache;
class TreeControl;

// The Qt item model of a TreeControl: one column, the node texts with their images,
// colours and bold. Changes of the control arrive as row insertions and removals.
// An edited text is not applied here: it is kept for the view, which hands it to the
// logic (takeEditedText()).
class QtTreeModel : public QAbstractItemModel, public TreeObserver {
    Q_OBJECT

  public:
    QtTreeModel(TreeControl& tree, QtImageCache& images, QObject* parent = nullptr);
    ~QtTreeModel() override;

    TreeNode* nodeOf(const QModelIndex& index) const;
    QModelIndex indexOf(const TreeNode* node) const;
    // True between the about-to and the done notice of a structural change, while Qt's
    // views move their current item on their own.
    bool changingRows() const { return changingRows_; }
    // False once the control has been destroyed (at shutdown, before the widgets).
    bool attached() const { return attached_; }
    // The text the editor committed last, once.
    std::optional<std::string> takeEditedText();

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    Qt::DropActions supportedDropActions() const override;
    QStringList mimeTypes() const override;

    void nodesAboutToBeInserted(const TreeNode* parent, int first, int count) override;
    void nodesInserted(const TreeNode* parent, int first, int count) override;
    void nodesAboutToBeRemoved(const TreeNode* parent, int first, int count) override;
    void nodesRemoved(const TreeNode* parent, int first, int count) override;
    void nodeChanged(const TreeNode* node) override;
    void aboutToReset() override;
    void reset() override;
    void controlDestroyed() override;

  private:
    TreeControl& tree_;
    QtImageCache& images_;
    std::optional<std::string> editedText_;
    bool changingRows_ = false;
    bool attached_ = true;
};
