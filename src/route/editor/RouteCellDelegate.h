#pragma once

#include <QStyledItemDelegate>

// How the editor's tables tell cells apart: a stop name that cannot be
// shown, a fare typed over the rule's value (bold on a tint), a fare with a
// warning (red).
class RouteCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    enum Table { Stops, Fares };

    RouteCellDelegate(Table table, QObject *parent);

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    Table m_table;
};
