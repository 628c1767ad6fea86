#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

// The written pieces a feed's translations read (川崎駅西口 -> かわさきえき
// にしぐち) and where they stand in a stop name. A name is walked once,
// whatever the number and the length of the pieces: they are kept, written
// backwards, in one automaton whose state after each character of a name
// read from its end knows the longest piece starting there.
class GtfsReadingPieces
{
public:
    // `readings`: written piece -> reading. Pieces longer than `longestName`
    // can stand in no name and are left out; empty pieces too.
    GtfsReadingPieces(const QHash<QString, QString> &readings, qsizetype longestName);

    // `name` with, from the left, the longest piece at each place replaced
    // by its reading and the characters no piece starts with kept; empty
    // when no piece stands in it.
    QString compose(const QString &name) const;
    // Every piece standing somewhere in `name`, sorted.
    QStringList piecesIn(const QString &name) const;
    QString reading(const QString &piece) const { return m_readings.value(piece); }

private:
    struct State
    {
        int fail = 0;
        // The state of the longest piece ending here (this state or one
        // reached by failing), -1 for none; and of the longest piece that
        // is a proper suffix, for listing every piece.
        int longest = -1;
        int shorter = -1;
        int depth = 0;
        int piece = -1; // index in m_pieces when a piece ends here
    };

    int step(int state, char16_t c) const;
    // The state after each character of `name` read from its end, by the
    // character's index.
    std::vector<int> walk(const QString &name) const;

    QHash<QString, QString> m_readings;
    QStringList m_pieces;
    std::vector<State> m_states;
    QHash<quint64, int> m_next; // (state << 16 | character) -> state
};
