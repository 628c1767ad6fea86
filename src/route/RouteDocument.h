#pragma once

#include "RouteBuilder.h"
#include "RouteSource.h"

#include <QHash>
#include <QObject>
#include <QPair>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class QUndoStack;

// What an edit did to the stop list, so that views keep their rows (and the
// rows selected) instead of starting over. Rows are 0-based.
struct RouteChange
{
    enum class Kind {
        Reset,    // anything may have changed (a file opened)
        Inserted, // `count` stops inserted at `first`
        Removed,  // `count` stops from `first` removed
        Moved,    // `count` stops from `first` moved before the row `to` (counted before the move)
        Edited,   // `count` stops from `first` changed in place
        Other,    // the stop list as it was (rule, cells, announcements, readings, ...)
    };
    Kind kind = Kind::Other;
    int first = 0;
    int count = 0;
    int to = 0;
    int rowsBefore = 0; // stops before and after the edit
    int rowsAfter = 0;
};

// A route being edited: its source, the file it came from, and an undo
// stack that every edit goes through (one command for each thing the author
// does). After each edit the fare board and its problems are built again.
class RouteDocument : public QObject
{
    Q_OBJECT

public:
    // Undo reaches this many steps back; each keeps only what it changed.
    static constexpr int UndoSteps = 1000;

    // `hasGlyph` tells whether the stop-name strip can draw a character;
    // left empty, the strip's own 16-dot fonts are asked.
    explicit RouteDocument(QObject *parent = nullptr, std::function<bool(char32_t)> hasGlyph = {});
    ~RouteDocument() override;

    const RouteSource &source() const { return m_source; }
    // The board built from the source as it is now.
    const RouteBuilder &board() const { return *m_board; }
    QUndoStack *undoStack() const { return m_undo; }

    // The file opened or last saved; empty for a new route.
    QString filePath() const { return m_path; }
    // Where a save goes when the author is not asked: the route source
    // opened or saved, or "<route>.route.json" beside the fare data opened.
    QString defaultSavePath() const;
    bool isDirty() const;

    // Opens a route source (".route.json"), fare data (".hy3", with the
    // announcements of "<route>tp.csv" beside it when there is one) or the
    // fare CSV of hy3tool (".csv", likewise). Fare data opens with the
    // manual rule, every cell as the file has it. False, with the reason and
    // nothing changed, when the file cannot be read.
    bool open(const QString &path, QString &error);
    // Starts a new, empty route.
    void clear();
    // Writes the route source at `path` and builds the fare data, the
    // announcement file and the merged reading dictionary beside it, all or
    // nothing. False with the reason when the route is refused or a file
    // cannot be written. A route that cannot be built (a name CP932 cannot
    // write, too few stops, ...) still has its source saved: then
    // draftOnly() is true, the document is clean, and `error` says why the
    // other files were not built.
    bool save(const QString &path, QString &error);
    bool draftOnly() const { return m_draftOnly; }
    // The files a save at `path` would replace that are not this route's
    // own: a route source other than the one opened or saved, and the fare
    // data and announcements of the route number when this document did
    // not open or save them there (another route's, such as a route
    // imported under the number of one already in the folder). Absolute
    // paths; empty when the save replaces nothing of another route.
    QStringList otherRoutesFiles(const QString &path) const;
    // What the last save had to say without refusing (readings left as
    // yomi.txt has them, fares that will not show, ...).
    QStringList saveWarnings() const { return m_saveWarnings; }
    // What the last save changed beyond the route's own files: readings of
    // yomi.txt replaced by the route's.
    QStringList saveChanges() const { return m_saveChanges; }

    // Every problem of the route as it is now, in the order the checks find
    // them.
    const std::vector<RouteProblem> &problems() const { return m_problems; }
    bool isRefused() const;
    // The problems of a stop's name (stop 1-based), one per line; empty
    // when the name can be written and drawn.
    QString nameProblem(int stop) const;
    // The first character of `text` that CP932 cannot write or the strip
    // cannot draw; empty when there is none.
    QString firstUnfitCharacter(const QString &text) const;
    // The problems of a cell (stop 1-based, board column), one per line.
    QString cellProblem(int stop, int column) const;

    // Edits. Each is one step on the undo stack; one that changes nothing
    // adds no step.
    // The route number, as the display reads it: "012" becomes "12".
    void setRouteNumber(const QString &text);
    void setSelectorColumn(int column);
    void setRule(const FareRule &rule);
    void setStop(int row, const RouteStop &stop);
    void insertStops(int row, const std::vector<RouteStop> &stops);
    void removeStops(int row, int count);
    // Moves `count` stops from `row` before `to` (a row counted before the move).
    void moveStops(int row, int count, int to);
    // Stops from `row` on replaced by `stops`, going past the end as far as
    // they reach (a paste over the table); `text` names the step.
    void replaceStops(int row, const std::vector<RouteStop> &stops, const QString &text);
    // A fare typed over what the rule gives (stop 1-based, board column).
    void setFare(int stop, int column, int fare);
    // The rule's value again in a cell typed over.
    void clearFare(int stop, int column);
    // ... in every cell (stop, column) of `cells` typed over, one step;
    // none when no cell of them was typed over.
    void clearFares(const QList<QPair<int, int>> &cells);
    // The rule's value again in every cell (one step).
    void clearAllFares();
    // The author's announcements; an empty list means none are wanted (none
    // are made up from the stops).
    void setAnnouncements(const QList<TapeRecord> &records, const QString &text);
    // ... with `english`, the English line of each (empty: none).
    void setAnnouncements(const QList<TapeRecord> &records, const QStringList &english, const QString &text);
    // Where the buses go, in other languages.
    void setHeadsignNames(const QMap<QString, QString> &names);
    // The announcements made again from the stops.
    void regenerateAnnouncements();
    // The timetable: the trips and their times (one step).
    void setTrips(const std::vector<RouteTrip> &trips, const QString &text);
    // How `word` reads, added to the reading dictionary when saving; an
    // empty reading takes the fix back.
    void setReading(const QString &word, const QString &reading);
    QString readingFix(const QString &word) const;

signals:
    // Before and after an edit, with what it does to the stop list (an
    // edit may come as two changes, rows inserted or removed and rows
    // edited).
    void aboutToChange(const RouteChange &change);
    void stopsChanged(const RouteChange &change);
    // After every edit, undo and redo, and after opening: the board and
    // its problems are new.
    void changed();
    void filePathChanged(const QString &path);

private:
    class Edit;
    friend class Edit;

    // Puts `source` in place, telling views what happens to their rows;
    // an edit that also adds or removes rows at the end is told in two steps.
    void apply(const RouteSource &source, const RouteChange &change);
    void step(const RouteSource &source, const RouteChange &change);
    void push(const RouteSource &after, RouteChange change, const QString &text);
    void rebuild();
    void setPath(const QString &path);

    RouteSource m_source;
    std::unique_ptr<RouteBuilder> m_board; // refers to m_source
    std::vector<RouteProblem> m_problems;
    QHash<QPair<int, int>, QString> m_problemTexts; // (stop, column) -> lines
    std::function<bool(char32_t)> m_hasGlyph;
    QUndoStack *m_undo = nullptr;
    QString m_path;
    // The route number of the files the document was opened from or last
    // saved as, in the folder of m_path; empty for a new route.
    QString m_savedRoute;
    QStringList m_saveWarnings;
    QStringList m_saveChanges;
    bool m_draftOnly = false;
};
