#include "platform/qt/QtTreeModel.h"

#include "controls/TreeControl.h"
#include "platform/qt/QtImageCache.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QPalette>

namespace {

QPalette::ColorRole roleOf(Rgb colour) {
    switch (static_cast<SystemColour>(colour & ~kSystemColourFlag)) {
    case SystemColour::WindowBackground:
        return QPalette::Base;
    case SystemColour::ButtonShadow:
        return QPalette::Dark;
    case SystemColour::MenuText:
        break;
    }
    return QPalette::Text;
}

QColor toQColor(Rgb colour) {
    if ((colour & kSystemColourFlag) != 0)
        return QGuiApplication::palette().color(roleOf(colour));
    return QColor((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF);
}

} // namespace

QtTreeModel::QtTreeModel(TreeControl& tree, QtImageCache& images, QObject* parent)
    : QAbstractItemModel(parent), tree_(tree), images_(images) {
    tree_.addObserver(this);
}

QtTreeModel::~QtTreeModel() {
    if (attached_) {
        tree_.removeObserver(this);
    }
}

void QtTreeModel::controlDestroyed() {
    beginResetModel();
    attached_ = false;
    endResetModel();
}

TreeNode* QtTreeModel::nodeOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<TreeNode*>(index.internalPointer()) : nullptr;
}

QModelIndex QtTreeModel::indexOf(const TreeNode* node) const {
    return node ? createIndex(node->row(), 0, const_cast<TreeNode*>(node)) : QModelIndex();
}

std::optional<std::string> QtTreeModel::takeEditedText() {
    return std::exchange(editedText_, std::nullopt);
}

QModelIndex QtTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || !attached_) {
        return {};
    }
    const TreeNode* parentNode = nodeOf(parent);
    TreeNode* node = parentNode ? parentNode->child(row) : tree_.topLevelNode(row);
    return node ? createIndex(row, 0, node) : QModelIndex();
}

QModelIndex QtTreeModel::parent(const QModelIndex& child) const {
    const TreeNode* node = nodeOf(child);
    return node ? indexOf(node->parent()) : QModelIndex();
}

int QtTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0 || !attached_) {
        return 0;
    }
    const TreeNode* node = nodeOf(parent);
    return node ? node->childCount() : tree_.topLevelCount();
}

int QtTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant QtTreeModel::data(const QModelIndex& index, int role) const {
    const TreeNode* node = nodeOf(index);
    if (node == nullptr) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return QString::fromUtf8(node->text());
    case Qt::DecorationRole: {
        const QIcon& icon = images_.icon(node->image());
        return icon.isNull() ? QVariant() : QVariant(icon);
    }
    case Qt::ForegroundRole:
        return node->foreColour() ? QVariant(QBrush(toQColor(*node->foreColour()))) : QVariant();
    case Qt::BackgroundRole:
        return node->backColour() ? QVariant(QBrush(toQColor(*node->backColour()))) : QVariant();
    case Qt::FontRole: {
        if (!node->bold()) {
            return {};
        }
        QFont font;
        font.setBold(true);
        return font;
    }
    default:
        return {};
    }
}

bool QtTreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || nodeOf(index) == nullptr) {
        return false;
    }
    editedText_ = value.toString().toStdString();
    return true;
}

Qt::ItemFlags QtTreeModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::ItemIsDropEnabled;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsDragEnabled |
           Qt::ItemIsDropEnabled;
}

Qt::DropActions QtTreeModel::supportedDropActions() const {
    return Qt::CopyAction | Qt::MoveAction;
}

QStringList QtTreeModel::mimeTypes() const {
    return {QStringLiteral("text/uri-list")};
}

void QtTreeModel::nodesAboutToBeInserted(const TreeNode* parent, int first, int count) {
    beginInsertRows(indexOf(parent), first, first + count - 1);
}

void QtTreeModel::nodesInserted(const TreeNode*, int, int) {
    endInsertRows();
}

void QtTreeModel::nodesAboutToBeRemoved(const TreeNode* parent, int first, int count) {
    changingRows_ = true;
    beginRemoveRows(indexOf(parent), first, first + count - 1);
}

void QtTreeModel::nodesRemoved(const TreeNode*, int, int) {
    endRemoveRows();
    changingRows_ = false;
}

void QtTreeModel::nodeChanged(const TreeNode* node) {
    const QModelIndex index = indexOf(node);
    emit dataChanged(index, index);
}

void QtTreeModel::aboutToReset() {
    changingRows_ = true;
    beginResetModel();
}

void QtTreeModel::reset() {
    endResetModel();
    changingRows_ = false;
}
