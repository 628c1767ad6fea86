#include "FareGridModel.h"

#include <algorithm>

FareGridModel::FareGridModel(RouteDocument *document, QObject *parent)
    : QAbstractTableModel(parent)
    , m_document(document)
{
    connect(document, &RouteDocument::changed, this, &FareGridModel::refresh);
    const auto [rows, columns] = shape();
    m_rows = rows;
    m_columns = columns;
    m_cells = snapshot(rows, columns);
    m_names = stopNames();
}

std::pair<int, int> FareGridModel::shape() const
{
    const std::vector<int> &tickets = m_document->board().tickets();
    const int highest = tickets.empty() ? 0 : *std::max_element(tickets.begin(), tickets.end());
    return {static_cast<int>(tickets.size()), std::min(highest, static_cast<int>(RouteBuilder::MaxTickets))};
}

int FareGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int FareGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QVariant FareGridModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    const Cell &cell = m_cells[static_cast<size_t>(index.row() * m_columns + index.column())];
    switch (role) {
    case Qt::DisplayRole:
        // As the board shows them with the default cell options.
        if (cell.fare == 0) {
            return QString();
        }
        return cell.fare == -1 ? NoFareText.toString() : QString::number(cell.fare);
    case Qt::EditRole:
        return cell.fare;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    case OverriddenRole:
        return cell.overridden;
    case ProblemRole:
    case Qt::ToolTipRole:
        return cell.problem;
    default:
        return {};
    }
}

QVariant FareGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole) {
        return {};
    }
    if (orientation == Qt::Horizontal) {
        return section + 1; // the ticket number, which is the board column
    }
    return section < m_names.size() ? QStringLiteral("%1 %2").arg(section + 1).arg(m_names.at(section)) : QVariant();
}

Qt::ItemFlags FareGridModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable : Qt::NoItemFlags;
}

bool FareGridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return false;
    }
    const QString text = value.toString().normalized(QString::NormalizationForm_KC).trimmed();
    if (text.isEmpty()) {
        clearOverride(index);
        return true;
    }
    int fare = 0;
    if (text == NoFareText || text == QStringLiteral("-")) {
        fare = -1;
    } else {
        bool ok = false;
        fare = text.toInt(&ok);
        if (!ok || fare < -32768 || fare > 32767) {
            emit inputRefused(QStringLiteral("運賃「%1」は -32768～32767 の整数か、運賃なしの「%2」です").arg(text, NoFareText));
            return false;
        }
    }
    m_document->setFare(index.row() + 1, index.column() + 1, fare);
    return true;
}

void FareGridModel::clearOverride(const QModelIndex &index)
{
    if (checkIndex(index, CheckIndexOption::IndexIsValid)) {
        m_document->clearFare(index.row() + 1, index.column() + 1);
    }
}

void FareGridModel::clearOverrides(const QModelIndexList &indexes)
{
    QList<QPair<int, int>> cells;
    for (const QModelIndex &index : indexes) {
        if (checkIndex(index, CheckIndexOption::IndexIsValid)) {
            cells.append({index.row() + 1, index.column() + 1});
        }
    }
    m_document->clearFares(cells);
}

std::vector<FareGridModel::Cell> FareGridModel::snapshot(int rows, int columns) const
{
    const RouteBuilder &board = m_document->board();
    std::vector<Cell> cells(static_cast<size_t>(rows) * static_cast<size_t>(columns));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            Cell &cell = cells[static_cast<size_t>(r * columns + c)];
            cell.fare = board.fare(r + 1, c + 1);
            cell.overridden = board.isOverridden(r + 1, c + 1);
            cell.problem = m_document->cellProblem(r + 1, c + 1);
        }
    }
    return cells;
}

void FareGridModel::refresh()
{
    const auto [rows, columns] = shape();
    std::vector<Cell> cells = snapshot(rows, columns);
    if (rows != m_rows || columns != m_columns) {
        beginResetModel();
        m_rows = rows;
        m_columns = columns;
        m_cells = std::move(cells);
        m_names = stopNames();
        endResetModel();
        return;
    }
    // Only the cells that changed, a row's run of them at a time, so that
    // typing one fare repaints one cell.
    std::swap(m_cells, cells);
    for (int r = 0; r < rows; ++r) {
        int first = -1;
        for (int c = 0; c <= columns; ++c) {
            const size_t at = static_cast<size_t>(r * columns + c);
            const bool differs = c < columns && !(m_cells[at] == cells[at]);
            if (differs && first < 0) {
                first = c;
            } else if (!differs && first >= 0) {
                emit dataChanged(index(r, first), index(r, c - 1));
                first = -1;
            }
        }
    }
    // The stop names head the rows.
    const QStringList names = stopNames();
    if (names != m_names) {
        m_names = names;
        emit headerDataChanged(Qt::Vertical, 0, rows - 1);
    }
}

QStringList FareGridModel::stopNames() const
{
    QStringList names;
    for (const RouteStop &stop : m_document->source().stops) {
        names << stop.name;
    }
    return names;
}
