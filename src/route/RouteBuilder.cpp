#include "RouteBuilder.h"

#include "formats/Cp932.h"
#include "formats/Hy3File.h"

#include <algorithm>

namespace {

// The widest fare a cell's four digits show, and the widest that doubles
// within 16 bits for the late-night fare.
constexpr int MaxCellFare = 9999;
constexpr int MaxDoubledFare = 16383;

// What a cell of the fare data holds.
constexpr qint64 CellMinimum = -32768;
constexpr qint64 CellMaximum = 32767;

qint16 cellValue(qint64 value)
{
    return static_cast<qint16>(std::clamp(value, CellMinimum, CellMaximum));
}

} // namespace

QString RouteProblem::describe(const std::vector<RouteStop> &stops) const
{
    QString where;
    if (stop > 0) {
        const QString name = stop <= static_cast<int>(stops.size()) ? stops[static_cast<size_t>(stop - 1)].name : QString();
        where = QStringLiteral("停留所 %1（%2）").arg(stop).arg(name);
        if (column > 0) {
            where += QStringLiteral(", 列 %1").arg(column);
        }
        where += QStringLiteral(": ");
    }
    return where + text;
}

RouteBuilder::RouteBuilder(const RouteSource &source)
    : m_source(source)
{
    numberTickets();
    const int count = static_cast<int>(m_source.stops.size());
    m_fares.assign(static_cast<size_t>(count), std::vector<qint64>(MaxTickets, 0));
    for (int n = 1; n <= count; ++n) {
        for (int c = 1; c <= MaxTickets && c < static_cast<int>(m_firstDrawn.size()); ++c) {
            const int from = m_firstDrawn[static_cast<size_t>(c)];
            if (from > 0 && from < n) {
                m_fares[static_cast<size_t>(n - 1)][static_cast<size_t>(c - 1)] = ruleFare(from, n);
            }
        }
    }
    for (const FareOverride &cell : m_source.overrides) {
        if (cell.stop >= 1 && cell.stop <= count && cell.ticket >= 1 && cell.ticket <= MaxTickets) {
            m_fares[static_cast<size_t>(cell.stop - 1)][static_cast<size_t>(cell.ticket - 1)] = cell.fare;
            m_overridden.insert({cell.stop, cell.ticket});
        }
    }
}

qint64 RouteBuilder::ruleFare(int fromStop, int toStop) const
{
    const RouteStop &from = m_source.stops[static_cast<size_t>(fromStop - 1)];
    const RouteStop &to = m_source.stops[static_cast<size_t>(toStop - 1)];
    const FareRule &rule = m_source.rule;
    switch (rule.kind) {
    case FareRule::Kind::Flat:
        return rule.flatFare;
    case FareRule::Kind::Distance:
        if (!from.distanceTenths || !to.distanceTenths) {
            return -1;
        }
        return rule.distanceFare(qAbs(qint64(*to.distanceTenths) - *from.distanceTenths));
    case FareRule::Kind::Zone: {
        int crossed = 0;
        for (int s = fromStop + 1; s <= toStop; ++s) {
            if (m_source.stops[static_cast<size_t>(s - 1)].zone != m_source.stops[static_cast<size_t>(s - 2)].zone) {
                ++crossed;
            }
        }
        return rule.zoneFare(crossed, from.zone, to.zone);
    }
    case FareRule::Kind::Manual:
        return -1;
    }
    return -1;
}

void RouteBuilder::numberTickets()
{
    const int count = static_cast<int>(m_source.stops.size());
    m_tickets.assign(static_cast<size_t>(count), 0);
    int last = 0;
    for (int n = 1; n <= count; ++n) {
        const RouteStop &stop = m_source.stops[static_cast<size_t>(n - 1)];
        int ticket = 0;
        if (stop.ticket) {
            ticket = *stop.ticket;
        } else if (n == count) {
            ticket = 0;
        } else if (n == 1 || last == 0) {
            ticket = last + 1;
        } else {
            // Boarding here and at the previous stop cost the same onward:
            // one ticket serves both.
            bool same = true;
            for (int later = n + 1; later <= count && same; ++later) {
                same = ruleFare(n - 1, later) == ruleFare(n, later);
            }
            // A manual route has no rule to compare by: every stop draws its own.
            ticket = same && m_source.rule.kind != FareRule::Kind::Manual ? last : last + 1;
        }
        m_tickets[static_cast<size_t>(n - 1)] = ticket;
        if (ticket > 0) {
            last = ticket;
        }
    }
    int highest = 0;
    for (const int t : m_tickets) {
        highest = std::max(highest, t);
    }
    m_firstDrawn.assign(static_cast<size_t>(highest) + 1, 0);
    for (int n = 1; n <= count; ++n) {
        const int t = m_tickets[static_cast<size_t>(n - 1)];
        if (t > 0 && m_firstDrawn[static_cast<size_t>(t)] == 0) {
            m_firstDrawn[static_cast<size_t>(t)] = n;
        }
    }
}

qint64 RouteBuilder::fare(int stop, int ticket) const
{
    if (stop < 1 || stop > static_cast<int>(m_fares.size()) || ticket < 1 || ticket > MaxTickets) {
        return 0;
    }
    return m_fares[static_cast<size_t>(stop - 1)][static_cast<size_t>(ticket - 1)];
}

bool RouteBuilder::isOverridden(int stop, int ticket) const
{
    return m_overridden.contains({stop, ticket});
}

std::vector<StopRecord> RouteBuilder::records() const
{
    std::vector<StopRecord> records;
    records.reserve(m_source.stops.size());
    for (size_t i = 0; i < m_source.stops.size(); ++i) {
        StopRecord record;
        record.name = m_source.stops[i].name;
        record.ticketNumber = cellValue(m_tickets[i]);
        for (int c = 1; c <= MaxTickets; ++c) {
            record.columns[static_cast<size_t>(c - 1)] = cellValue(m_fares[i][static_cast<size_t>(c - 1)]);
        }
        records.push_back(record);
    }
    // Columns beyond the fares keep what was typed there; the sound class
    // goes over them in the selector column.
    for (const FareOverride &cell : m_source.overrides) {
        if (cell.stop >= 1 && cell.stop <= static_cast<int>(records.size()) && cell.ticket > MaxTickets
            && cell.ticket <= StopRecord::ColumnCount) {
            records[static_cast<size_t>(cell.stop - 1)].columns[static_cast<size_t>(cell.ticket - 1)] = cellValue(cell.fare);
        }
    }
    for (size_t i = 0; i < records.size(); ++i) {
        StopRecord &record = records[i];
        if (m_source.selectorColumn >= 1 && m_source.selectorColumn <= StopRecord::ColumnCount) {
            record.columns[static_cast<size_t>(m_source.selectorColumn - 1)] = static_cast<qint16>(m_source.stops[i].sound);
        }
    }
    return records;
}

std::vector<RouteProblem> RouteBuilder::check(const std::function<bool(char32_t)> &hasGlyph) const
{
    using Severity = RouteProblem::Severity;
    std::vector<RouteProblem> problems;
    const int count = static_cast<int>(m_source.stops.size());
    if (count < 2) {
        // Route setting starts at a section below the count: one stop is no route.
        problems.push_back({Severity::Refusal, 0, 0, QStringLiteral("停留所が %1 しかありません（2 以上必要です）").arg(count)});
    }
    if (count > Hy3File::MaxRecords) {
        problems.push_back({Severity::Refusal, 0, 0,
                            QStringLiteral("停留所が %1 あります（最大 %2）").arg(count).arg(Hy3File::MaxRecords)});
    }
    const int tickets = static_cast<int>(m_firstDrawn.size()) - 1;
    if (tickets > MaxTickets) {
        problems.push_back({Severity::Refusal, 0, 0,
                            QStringLiteral("整理券番号が %1 まであります（最大 %2）").arg(tickets).arg(MaxTickets)});
    }
    if (m_source.selectorColumn >= 1 && m_source.selectorColumn <= MaxTickets && m_source.selectorColumn <= tickets) {
        problems.push_back({Severity::Warning, 0, m_source.selectorColumn,
                            QStringLiteral("サウンド選択の列 %1 が運賃の列と重なっています").arg(m_source.selectorColumn)});
    }
    // Cells with no fare light "-1" on the board: said once, at the first.
    int noFareCells = 0;
    RouteProblem firstNoFare{Severity::Warning, 0, 0, {}};
    int tooWideCells = 0;
    size_t firstTooWide = 0;
    // Cells of tickets drawn earlier, and those of them with a fare to show.
    int boardCells = 0;
    int shownCells = 0;
    for (int n = 1; n <= count; ++n) {
        const RouteStop &stop = m_source.stops[static_cast<size_t>(n - 1)];
        const auto named = [](char32_t u) {
            return QStringLiteral("「%1」(U+%2)")
                .arg(QString::fromUcs4(&u, 1), QString::number(u, 16).toUpper().rightJustified(4, u'0'));
        };
        const QList<uint> characters = stop.name.toUcs4();
        if (!Cp932::encodeExactly(stop.name)) {
            // The fare data file holds names in CP932 only.
            for (const uint u : characters) {
                const char32_t c = u;
                if (!Cp932::encodeExactly(QString::fromUcs4(&c, 1))) {
                    problems.push_back({Severity::Refusal, n, 0,
                                        QStringLiteral("停名の%1はシフトJIS（CP932）で書けません").arg(named(c))});
                    break;
                }
            }
        } else if (hasGlyph) {
            for (const uint u : characters) {
                if (!hasGlyph(u)) {
                    problems.push_back({Severity::Warning, n, 0,
                                        QStringLiteral("停名の%1は停名表示（16ドット）に字形がありません").arg(named(u))});
                }
            }
        }
        for (int c = 1; c <= MaxTickets; ++c) {
            const qint64 v = fare(n, c);
            if (v < CellMinimum || v > CellMaximum) {
                // Refused at the first such cell, with how many there are:
                // a rule that overflows one cell overflows many.
                if (tooWideCells++ == 0) {
                    checkFareCell(n, c, v, problems);
                    firstTooWide = problems.size() - 1;
                }
                continue;
            }
            checkFareCell(n, c, v, problems);
            if (c <= tickets && m_firstDrawn[static_cast<size_t>(c)] > 0 && m_firstDrawn[static_cast<size_t>(c)] < n) {
                ++boardCells;
                shownCells += v != 0 ? 1 : 0;
            }
            if (v == -1 && noFareCells++ == 0) {
                firstNoFare.stop = n;
                firstNoFare.column = c;
            }
            if (n > 1 && c <= tickets) {
                const qint64 before = fare(n - 1, c);
                const int from = m_firstDrawn[static_cast<size_t>(c)];
                // A blank cell (0) after a fare is a ride not taken there,
                // not a fare that went down.
                if (from > 0 && from < n - 1 && before > 0 && v > 0 && v < before) {
                    problems.push_back({Severity::Warning, n, c,
                                        QStringLiteral("運賃が前の停留所より下がっています（%1 → %2）").arg(before).arg(v)});
                }
            }
        }
    }
    if (tooWideCells > 1) {
        problems[firstTooWide].text += QStringLiteral("（ほかに %1 欄）").arg(tooWideCells - 1);
    }
    // Values typed beyond the fare columns are written as they are: they
    // must fit their cells too.
    for (const FareOverride &cell : m_source.overrides) {
        if (cell.ticket > MaxTickets && cell.ticket <= StopRecord::ColumnCount && cell.stop >= 1 && cell.stop <= count
            && (cell.fare < CellMinimum || cell.fare > CellMaximum)) {
            checkFareCell(cell.stop, cell.ticket, cell.fare, problems);
        }
    }
    if (boardCells > 0 && shownCells == 0) {
        // A new route's rule is 均一 0 円 until the author sets one.
        problems.push_back({Severity::Warning, 0, 0,
                            QStringLiteral("運賃がすべて 0 円で、運賃表示は空白のままです（運賃の決め方で運賃を決めてください）")});
    }
    if (m_source.announcements.isEmpty() && m_source.noAnnouncementsWanted) {
        problems.push_back({Severity::Warning, 0, 0,
                            QStringLiteral("放送文がありません（表示器は「放送用データは空です」と出します）")});
    }
    if (noFareCells > 0) {
        firstNoFare.text = QStringLiteral("運賃のない欄（-1）が %1 あり、表示器には「-1」と出ます").arg(noFareCells);
        problems.push_back(firstNoFare);
    }
    return problems;
}

void RouteBuilder::checkFareCell(int stop, int column, qint64 fare, std::vector<RouteProblem> &problems)
{
    using Severity = RouteProblem::Severity;
    if (fare < CellMinimum || fare > CellMaximum) {
        problems.push_back({Severity::Refusal, stop, column,
                            QStringLiteral("運賃 %1 は運賃データの欄（%2～%3）に収まらないため、書けません")
                                .arg(fare)
                                .arg(CellMinimum)
                                .arg(CellMaximum)});
        return;
    }
    if (fare < -1) {
        problems.push_back({Severity::Warning, stop, column, QStringLiteral("運賃 %1 は負の値です（-1 以外）").arg(fare)});
    } else if (fare > MaxCellFare) {
        // The cell lights the last four characters of the number.
        problems.push_back({Severity::Warning, stop, column,
                            QStringLiteral("運賃 %1 は表示の4桁に収まりません（「%2」と表示されます）")
                                .arg(fare)
                                .arg(QString::number(fare).right(4))});
    }
    if (fare > MaxDoubledFare) {
        problems.push_back({Severity::Warning, stop, column,
                            QStringLiteral("運賃 %1 は深夜料金（2倍）で16ビットに収まりません").arg(fare)});
    }
}

bool RouteBuilder::refuses(const std::vector<RouteProblem> &problems)
{
    return std::any_of(problems.begin(), problems.end(),
                       [](const RouteProblem &p) { return p.severity == RouteProblem::Severity::Refusal; });
}
