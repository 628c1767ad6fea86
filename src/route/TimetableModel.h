#pragma once

#include "RouteDocument.h"

#include <QAbstractTableModel>

// The trips of a route, one a row: 便 (its id), 行先 (its headsign), then a
// column for each stop with the times there, "07:05:00" when the bus
// arrives and leaves at once, "07:05:00-07:05:30" when it waits. Editable;
// each edit, trip added or trip removed is one undo step.
class TimetableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { IdColumn, HeadsignColumn, FirstStopColumn };

    explicit TimetableModel(RouteDocument *document, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    bool insertRows(int row, int count, const QModelIndex &parent = {}) override;
    bool removeRows(int row, int count, const QModelIndex &parent = {}) override;

signals:
    // A value typed that cannot be taken, with the reason to show.
    void inputRefused(const QString &reason);

private:
    void refresh();

    RouteDocument *m_document;
    // What the views were told: trips and stops.
    int m_rows = 0;
    int m_columns = 0;
};
