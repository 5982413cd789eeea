#include "platform/qt/QtListModel.h"

#include "controls/ListControl.h"
#include "platform/qt/QtImageCache.h"

#include <QBrush>
#include <QColor>
#include <QFont>

namespace {

QColor toQColor(Rgb colour) {
    return QColor((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF);
}

Qt::Alignment toQtAlignment(ColumnAlignment alignment) {
    switch (alignment) {
    case ColumnAlignment::Centre:
        return Qt::AlignCenter;
    case ColumnAlignment::Right:
        return Qt::AlignRight | Qt::AlignVCenter;
    case ColumnAlignment::Left:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

} // namespace

QtListModel::QtListModel(ListControl& list, QtImageCache& images, QObject* parent)
    : QAbstractTableModel(parent), list_(list), images_(images) {
    list_.addObserver(this);
}

QtListModel::~QtListModel() {
    if (attached_) {
        list_.removeObserver(this);
    }
}

void QtListModel::controlDestroyed() {
    beginResetModel();
    attached_ = false;
    endResetModel();
}

ListItem* QtListModel::itemOf(const QModelIndex& index) const {
    return index.isValid() && attached_ ? list_.itemAt(index.row() + 1) : nullptr;
}

QModelIndex QtListModel::indexOf(const ListItem* item, int column) const {
    return item ? createIndex(item->row(), column) : QModelIndex();
}

std::optional<std::string> QtListModel::takeEditedText() {
    return std::exchange(editedText_, std::nullopt);
}

int QtListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !attached_ ? 0 : list_.count();
}

int QtListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ListItem::columnCount;
}

QVariant QtListModel::data(const QModelIndex& index, int role) const {
    const ListItem* item = itemOf(index);
    if (item == nullptr) {
        return {};
    }
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return QString::fromUtf8(item->columnText(column));
    case Qt::DecorationRole: {
        const QIcon& icon = column == 0 ? images_.icon(item->icon()) : QIcon();
        return icon.isNull() ? QVariant() : QVariant(icon);
    }
    case Qt::ToolTipRole:
        return item->toolTip().empty() ? QVariant() : QVariant(QString::fromUtf8(item->toolTip()));
    case Qt::ForegroundRole:
        return item->foreColour() ? QVariant(QBrush(toQColor(*item->foreColour()))) : QVariant();
    case Qt::FontRole: {
        if (!item->bold()) {
            return {};
        }
        QFont font;
        font.setBold(true);
        return font;
    }
    case Qt::TextAlignmentRole:
        return column < list_.columnCount()
                   ? QVariant(toQtAlignment(list_.column(column).alignment).toInt())
                   : QVariant();
    default:
        return {};
    }
}

bool QtListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || index.column() != 0 || itemOf(index) == nullptr) {
        return false;
    }
    editedText_ = value.toString().toStdString();
    return true;
}

QVariant QtListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || !attached_ || section < 0 ||
        section >= list_.columnCount()) {
        return {};
    }
    const ListColumn& column = list_.column(section);
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromUtf8(column.text);
    case Qt::DecorationRole: {
        const QIcon& icon = images_.icon(column.headerImage);
        return icon.isNull() ? QVariant() : QVariant(icon);
    }
    case Qt::TextAlignmentRole:
        return QVariant(toQtAlignment(column.alignment).toInt());
    default:
        return {};
    }
}

Qt::ItemFlags QtListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::ItemIsDropEnabled;
    }
    Qt::ItemFlags flags =
        Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
    if (index.column() == 0) {
        flags |= Qt::ItemIsEditable;
    }
    return flags;
}

Qt::DropActions QtListModel::supportedDropActions() const {
    return Qt::CopyAction | Qt::MoveAction;
}

QStringList QtListModel::mimeTypes() const {
    return {QStringLiteral("text/uri-list")};
}

void QtListModel::itemsAboutToBeInserted(int first, int count) {
    beginInsertRows({}, first, first + count - 1);
}

void QtListModel::itemsInserted(int, int) {
    endInsertRows();
}

void QtListModel::itemsAboutToBeRemoved(int first, int count) {
    changingRows_ = true;
    beginRemoveRows({}, first, first + count - 1);
}

void QtListModel::itemsRemoved(int, int) {
    endRemoveRows();
    changingRows_ = false;
}

void QtListModel::itemChanged(const ListItem* item) {
    emit dataChanged(indexOf(item, 0), indexOf(item, ListItem::columnCount - 1));
}

void QtListModel::itemsChanged(int first, int last) {
    emit dataChanged(index(first, 0), index(last, ListItem::columnCount - 1));
}

void QtListModel::aboutToReorder() {
    changingRows_ = true;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Remember which item each persistent index (selection, current, editor) stands on.
    reorderedIndexes_ = persistentIndexList();
    reorderedItems_.clear();
    for (const QModelIndex& index : reorderedIndexes_) {
        reorderedItems_.emplace_back(itemOf(index), index.column());
    }
}

void QtListModel::reordered() {
    QModelIndexList moved;
    moved.reserve(reorderedIndexes_.size());
    for (const auto& [item, column] : reorderedItems_) {
        moved.append(indexOf(item, column));
    }
    changePersistentIndexList(reorderedIndexes_, moved);
    reorderedIndexes_.clear();
    reorderedItems_.clear();
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    changingRows_ = false;
}

void QtListModel::aboutToReset() {
    changingRows_ = true;
    beginResetModel();
}

void QtListModel::reset() {
    endResetModel();
    changingRows_ = false;
}

void QtListModel::columnChanged(int column) {
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void QtListModel::columnsReset() {
    emit headerDataChanged(Qt::Horizontal, 0, ListItem::columnCount - 1);
}
