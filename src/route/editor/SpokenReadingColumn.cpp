#include "SpokenReadingColumn.h"

#include "route/AnnouncementModel.h"

SpokenReadingColumn::SpokenReadingColumn(Reader reader, QObject *parent)
    : QIdentityProxyModel(parent)
    , m_reader(std::move(reader))
{
}

void SpokenReadingColumn::setSourceModel(QAbstractItemModel *source)
{
    QIdentityProxyModel::setSourceModel(source);
    // A text edited reads anew.
    connect(source, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &topLeft, const QModelIndex &bottomRight) {
                emit dataChanged(index(topLeft.row(), readingColumn()), index(bottomRight.row(), readingColumn()));
            });
}

void SpokenReadingColumn::readingsChanged()
{
    if (rowCount() > 0) {
        emit dataChanged(index(0, readingColumn()), index(rowCount() - 1, readingColumn()));
    }
}

int SpokenReadingColumn::readingColumn() const
{
    return sourceModel() ? sourceModel()->columnCount() : 0;
}

int SpokenReadingColumn::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() || !sourceModel() ? 0 : readingColumn() + 1;
}

QModelIndex SpokenReadingColumn::index(int row, int column, const QModelIndex &parent) const
{
    if (column == readingColumn()) {
        return parent.isValid() || row < 0 || row >= rowCount() ? QModelIndex() : createIndex(row, column);
    }
    return QIdentityProxyModel::index(row, column, parent);
}

QModelIndex SpokenReadingColumn::parent(const QModelIndex &) const
{
    return {};
}

QModelIndex SpokenReadingColumn::sibling(int row, int column, const QModelIndex &) const
{
    return index(row, column);
}

QModelIndex SpokenReadingColumn::mapToSource(const QModelIndex &proxy) const
{
    if (proxy.isValid() && proxy.column() == readingColumn()) {
        return {};
    }
    return QIdentityProxyModel::mapToSource(proxy);
}

QVariant SpokenReadingColumn::data(const QModelIndex &index, int role) const
{
    if (index.isValid() && index.column() == readingColumn()) {
        if (role != Qt::DisplayRole && role != Qt::ToolTipRole) {
            return {};
        }
        return m_reader(sourceModel()->index(index.row(), AnnouncementModel::TextColumn).data().toString());
    }
    return QIdentityProxyModel::data(index, role);
}

QVariant SpokenReadingColumn::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section == readingColumn()) {
        return role == Qt::DisplayRole ? QVariant(QStringLiteral("読み（音声）")) : QVariant();
    }
    return QIdentityProxyModel::headerData(section, orientation, role);
}

Qt::ItemFlags SpokenReadingColumn::flags(const QModelIndex &index) const
{
    if (index.isValid() && index.column() == readingColumn()) {
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    }
    return QIdentityProxyModel::flags(index);
}
