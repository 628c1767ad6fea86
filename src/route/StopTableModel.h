#pragma once

#include "RouteDocument.h"

#include <QAbstractTableModel>

#include <vector>

// The stops of a route as an editable table: 停留所名, 読み, キロ, ゾーン,
// 券番号, 音, 英語 (the English name; one made from the reading by the
// romanization rules is shown grey and italic and follows the name and the
// reading until the author types one). Every change goes through the document's undo stack; rows
// inserted, removed, moved or pasted are one step each.
class StopTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { NameColumn, ReadingColumn, KmColumn, ZoneColumn, TicketColumn, SoundColumn, EnglishColumn, ColumnCount };

    enum Role {
        // bool, on the name: the name can be written in CP932 and the strip
        // has a glyph for every character.
        NameFitsRole = Qt::UserRole + 1,
        // QString, on the name: what keeps it from fitting, naming the
        // character; empty when it fits.
        NameProblemRole,
        // QString, on the name: the first character that does not fit;
        // empty when every one does.
        UnfitCharacterRole,
        // bool, on the ticket number: numbered by the route rather than given.
        TicketGeneratedRole,
        // bool, on the English name: made from the reading by the rules.
        EnglishFromReadingRole,
    };

    explicit StopTableModel(RouteDocument *document, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // EditRole values: text for the name, reading and zone; km as a number
    // or text ("" for none); the ticket number as a number ("" to let the
    // route number it); the sound as 1-3 or its caption.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    // New stops are empty.
    bool insertRows(int row, int count, const QModelIndex &parent = {}) override;
    bool removeRows(int row, int count, const QModelIndex &parent = {}) override;
    bool moveRows(const QModelIndex &sourceParent, int sourceRow, int count, const QModelIndex &destinationParent,
                  int destinationChild) override;

    // Dragging rows within the table moves them (one step). The drop does
    // the move itself and reports it as not done, so that a view dragging
    // with the move action does not remove the rows afterwards.
    Qt::DropActions supportedDropActions() const override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                      const QModelIndex &parent) override;

    // Tab-separated text from a spreadsheet pasted at (row, column): each
    // line fills a stop from `column` on, in column order (one column of
    // names fills names). Stops from `row` on are written over and the table
    // grows as far as the lines reach (a heading line copied with the table
    // is left out); with `insert` the lines become new
    // stops at `row` instead. One undo step. False, with the line and
    // column named in `error` and nothing changed, when a value does not fit.
    bool paste(int row, int column, const QString &text, bool insert, QString &error);

    static QString soundCaption(RouteStop::Sound sound);

signals:
    // A value typed that cannot be taken, with the reason to show.
    void inputRefused(const QString &reason);

private:
    void onAboutToChange(const RouteChange &change);
    void onStopsChanged(const RouteChange &change);
    void onChanged();
    void remember();

    RouteDocument *m_document;
    // What the views were told of the ticket numbers and name problems.
    std::vector<int> m_tickets;
    std::vector<QString> m_nameProblems;
};
