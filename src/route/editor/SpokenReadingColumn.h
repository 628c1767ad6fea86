#pragma once

#include <QIdentityProxyModel>

#include <functional>

// The announcements with one more column, read-only: each text as the
// speech engine will read it.
class SpokenReadingColumn : public QIdentityProxyModel
{
    Q_OBJECT

public:
    using Reader = std::function<QString(const QString &text)>;

    explicit SpokenReadingColumn(Reader reader, QObject *parent = nullptr);

    void setSourceModel(QAbstractItemModel *source) override;
    // The dictionary changed: every reading may be new.
    void readingsChanged();

    int columnCount(const QModelIndex &parent = {}) const override;
    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    QModelIndex sibling(int row, int column, const QModelIndex &index) const override;
    QModelIndex mapToSource(const QModelIndex &proxy) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    int readingColumn() const;

    Reader m_reader;
};
