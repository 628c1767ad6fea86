#include "GtfsReadingPieces.h"

#include <QSet>

#include <algorithm>

namespace {

quint64 edge(int state, char16_t c)
{
    return (quint64(quint32(state)) << 16) | c;
}

} // namespace

GtfsReadingPieces::GtfsReadingPieces(const QHash<QString, QString> &readings, qsizetype longestName)
{
    m_states.emplace_back(); // the root: nothing read
    for (auto it = readings.cbegin(); it != readings.cend(); ++it) {
        const QString &piece = it.key();
        if (piece.isEmpty() || piece.size() > longestName) {
            continue;
        }
        int state = 0;
        for (qsizetype i = piece.size() - 1; i >= 0; --i) {
            const quint64 key = edge(state, piece.at(i).unicode());
            const auto found = m_next.constFind(key);
            if (found != m_next.cend()) {
                state = *found;
                continue;
            }
            const int depth = m_states[size_t(state)].depth + 1;
            state = static_cast<int>(m_states.size());
            m_states.emplace_back();
            m_states.back().depth = depth;
            m_next.insert(key, state);
        }
        m_states[size_t(state)].piece = static_cast<int>(m_pieces.size());
        m_pieces << piece;
        m_readings.insert(piece, it.value());
    }
    // Failure links breadth first, that is by depth: a state fails to the
    // longest proper suffix of its text that is also a state.
    std::vector<int> order(m_states.size());
    for (size_t i = 0; i < order.size(); ++i) {
        order[i] = static_cast<int>(i);
    }
    std::stable_sort(order.begin(), order.end(),
                     [this](int a, int b) { return m_states[size_t(a)].depth < m_states[size_t(b)].depth; });
    std::vector<std::vector<std::pair<char16_t, int>>> children(m_states.size());
    for (auto it = m_next.cbegin(); it != m_next.cend(); ++it) {
        children[size_t(it.key() >> 16)].emplace_back(char16_t(it.key() & 0xFFFF), it.value());
    }
    for (const int state : order) {
        State &here = m_states[size_t(state)];
        if (state != 0) {
            const State &fail = m_states[size_t(here.fail)];
            here.shorter = fail.piece >= 0 ? here.fail : fail.shorter;
            here.longest = here.piece >= 0 ? state : fail.longest;
        }
        for (const auto &[c, child] : children[size_t(state)]) {
            m_states[size_t(child)].fail = state == 0 ? 0 : step(m_states[size_t(state)].fail, c);
        }
    }
}

int GtfsReadingPieces::step(int state, char16_t c) const
{
    while (true) {
        const auto found = m_next.constFind(edge(state, c));
        if (found != m_next.cend()) {
            return *found;
        }
        if (state == 0) {
            return 0;
        }
        state = m_states[size_t(state)].fail;
    }
}

std::vector<int> GtfsReadingPieces::walk(const QString &name) const
{
    std::vector<int> states(size_t(name.size()), 0);
    int state = 0;
    for (qsizetype i = name.size() - 1; i >= 0; --i) {
        state = step(state, name.at(i).unicode());
        states[size_t(i)] = state;
    }
    return states;
}

QString GtfsReadingPieces::compose(const QString &name) const
{
    if (m_pieces.isEmpty()) {
        return {};
    }
    const std::vector<int> states = walk(name);
    QString result;
    bool any = false;
    qsizetype pos = 0;
    while (pos < name.size()) {
        const int longest = m_states[size_t(states[size_t(pos)])].longest;
        if (longest < 0) {
            result += name.at(pos);
            ++pos;
            continue;
        }
        const State &piece = m_states[size_t(longest)];
        result += m_readings.value(m_pieces.at(piece.piece));
        any = true;
        pos += piece.depth;
    }
    return any ? result : QString();
}

QStringList GtfsReadingPieces::piecesIn(const QString &name) const
{
    QStringList found;
    if (m_pieces.isEmpty()) {
        return found;
    }
    // Each state's pieces are listed once: a chain met again was listed
    // in full the first time.
    QSet<int> seen;
    for (const int state : walk(name)) {
        for (int s = m_states[size_t(state)].longest; s >= 0 && !seen.contains(s); s = m_states[size_t(s)].shorter) {
            seen.insert(s);
            found << m_pieces.at(m_states[size_t(s)].piece);
        }
    }
    found.sort();
    return found;
}
