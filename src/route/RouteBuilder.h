#pragma once

#include "RouteSource.h"
#include "formats/StopRecord.h"

#include <QSet>
#include <QString>

#include <functional>
#include <vector>

// Something about a route that its author should know, with where it is:
// `stop` 1-based (0: the route as a whole), `column` the board column (0:
// none).
struct RouteProblem
{
    enum class Severity { Warning, Refusal };
    Severity severity = Severity::Warning;
    int stop = 0;
    int column = 0;
    QString text;

    // "停留所 3（本町）, 列 2: ..." as the editor and the checking tool show it.
    QString describe(const std::vector<RouteStop> &stops) const;
};

// The fare triangle of a route, built from its source: stop n, ticket c
// holds the fare the holder of ticket c owes at stop n when that ticket was
// first drawn at an earlier stop; 0 for a ticket not yet drawn or drawn at
// this very stop (blank on the board).
class RouteBuilder
{
public:
    static constexpr int MaxTickets = 98;

    explicit RouteBuilder(const RouteSource &source);

    // The ticket number drawn at each stop (index 0: stop 1). Stops that
    // give theirs keep it; the others draw ticket 1 at the first stop, the
    // same number as the previous stop when boarding there costs the same to
    // every later stop (same zone, same fare section), the next number
    // otherwise; the last stop, where nobody boards, has 0.
    const std::vector<int> &tickets() const { return m_tickets; }
    // fare(n, c): stop n 1-based, ticket c 1..98; as the rule works it out,
    // also when it is more than a cell holds (which check() refuses).
    qint64 fare(int stop, int ticket) const;
    bool isOverridden(int stop, int ticket) const;

    // The fare data records: name, ticket number, the fares in columns 1..98
    // and the stepping-sound class in the selector column. Only for a route
    // check() does not refuse: a value no 16-bit cell holds is cut to fit.
    std::vector<StopRecord> records() const;

    // Every problem: refusals (fewer than 2 or more than 301 stops, more
    // than 98 tickets, a value no cell of the fare data holds, a stop name
    // CP932 cannot write) make the route unbuildable; warnings do not.
    // `hasGlyph` tells whether the strip can draw a character; without it
    // glyphs are not checked.
    std::vector<RouteProblem> check(const std::function<bool(char32_t)> &hasGlyph = {}) const;
    static bool refuses(const std::vector<RouteProblem> &problems);

    // Appends what is wrong with `fare` in the cell of stop `stop`, column
    // `column`: beyond the cell's 16 bits (refused: it cannot be written),
    // more than the cell's four digits show (12000 shows as "2000"), more
    // than the late-night fare doubles within 16 bits, a negative value
    // other than -1 (no fare). Fare data files built without a source are
    // checked by it too.
    static void checkFareCell(int stop, int column, qint64 fare, std::vector<RouteProblem> &problems);

private:
    qint64 ruleFare(int fromStop, int toStop) const; // 1-based stops
    void numberTickets();

    const RouteSource &m_source;
    std::vector<int> m_tickets;
    std::vector<int> m_firstDrawn; // ticket c -> first stop (1-based) drawing it; index 0 unused
    std::vector<std::vector<qint64>> m_fares; // [stop-1][ticket-1]
    QSet<QPair<int, int>> m_overridden;
};
