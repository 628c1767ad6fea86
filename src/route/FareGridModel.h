#pragma once

#include "RouteDocument.h"

#include <QAbstractTableModel>

#include <QStringList>

#include <utility>
#include <vector>

// The fare board of a route: a row for each stop, a column for each ticket
// number in use (1..N). A cell shows the fare as the board does with the
// default cell options: nothing for 0 (a ticket not drawn yet, or drawn at
// this very stop), "—" for -1 (no fare). Typing a fare overrides the rule's
// value until the override is cleared; both are undo steps. After an edit
// only the cells whose value, kind or problem changed are announced.
class FareGridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Role {
        OverriddenRole = Qt::UserRole + 1, // bool: typed over the rule's value
        ProblemRole,                       // QString: what is wrong with the cell, one problem a line
    };

    static constexpr QStringView NoFareText = u"—";

    explicit FareGridModel(RouteDocument *document, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    // DisplayRole the fare as shown, EditRole the number.
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // A number, "—" or "-1" for no fare; "" clears the override.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    void clearOverride(const QModelIndex &index);
    // The rule's fares again in every cell of `indexes` typed over, one
    // undo step; none when none was typed over.
    void clearOverrides(const QModelIndexList &indexes);

signals:
    // A value typed that cannot be taken, with the reason to show.
    void inputRefused(const QString &reason);

private:
    struct Cell
    {
        int fare = 0;
        bool overridden = false;
        QString problem;
        bool operator==(const Cell &) const = default;
    };

    void refresh();
    std::pair<int, int> shape() const; // rows, columns of the board as it is now
    std::vector<Cell> snapshot(int rows, int columns) const;
    QStringList stopNames() const;

    RouteDocument *m_document;
    int m_rows = 0;
    int m_columns = 0;
    std::vector<Cell> m_cells; // row-major, what the views were told
    QStringList m_names;
};
