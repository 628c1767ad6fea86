#pragma once

#include "RouteDocument.h"

#include <QAbstractTableModel>

// The announcements of a route, one a row: 放送文, ステップ (1: the fare
// display steps after it), 音 (the sound before it), 英語 (its English line). Editable; rows inserted
// or removed and a regeneration from the stops are one undo step each. Views
// are told of rows inserted or removed, not reset, so their selection stays.
class AnnouncementModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { TextColumn, StepColumn, SoundColumn, EnglishColumn, ColumnCount };

    explicit AnnouncementModel(RouteDocument *document, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    bool insertRows(int row, int count, const QModelIndex &parent = {}) override;
    bool removeRows(int row, int count, const QModelIndex &parent = {}) override;

    // The announcements made again from the stops (one undo step).
    void regenerate();

signals:
    // A value typed that cannot be taken, with the reason to show.
    void inputRefused(const QString &reason);

private:
    void refresh();

    RouteDocument *m_document;
    QList<TapeRecord> m_shown; // what the views were told
    QStringList m_shownEnglish;
};
