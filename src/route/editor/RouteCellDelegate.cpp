#include "RouteCellDelegate.h"

#include "route/FareGridModel.h"
#include "route/StopTableModel.h"

namespace {

const QColor Problem(0xff, 0xd0, 0xd0);
const QColor Typed(0xdd, 0xe8, 0xff);
const QColor Generated(0x70, 0x70, 0x70);

} // namespace

RouteCellDelegate::RouteCellDelegate(Table table, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_table(table)
{
}

void RouteCellDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (m_table == Stops) {
        if (index.column() == StopTableModel::NameColumn && !index.data(StopTableModel::NameFitsRole).toBool()
            && !index.data().toString().isEmpty()) {
            option->backgroundBrush = Problem;
            option->text = QStringLiteral("⚠ ") + option->text;
        } else if (index.column() == StopTableModel::TicketColumn
                   && index.data(StopTableModel::TicketGeneratedRole).toBool()) {
            // A number the route gave, not one typed in.
            option->palette.setColor(QPalette::Text, Generated);
        }
        return;
    }
    if (!index.data(FareGridModel::ProblemRole).toString().isEmpty()) {
        option->backgroundBrush = Problem;
    } else if (index.data(FareGridModel::OverriddenRole).toBool()) {
        option->backgroundBrush = Typed;
    }
    if (index.data(FareGridModel::OverriddenRole).toBool()) {
        option->font.setBold(true);
    }
}
