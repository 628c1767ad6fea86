#include "DepartureSequence.h"

#include "fare/BusOperation.h"
#include "sound/mdlM_Tape.h"

DepartureSequence::DepartureSequence(BusOperation &bus, QObject *parent)
    : QObject(parent)
    , m_bus(bus)
{
    m_poll.setInterval(PollMs);
    connect(&m_poll, &QTimer::timeout, this, &DepartureSequence::advance);
}

bool DepartureSequence::busy() const
{
    return m_target > m_bus.tape().GetTapePos();
}

int DepartureSequence::nextSteppingLine() const
{
    const mdlM_Tape &tape = m_bus.tape();
    for (qint32 line = tape.GetTapePos() + 1; line <= tape.GetTapeCount(); ++line) {
        if (tape.GetTapeStepFlag(line) == 1) {
            return line;
        }
    }
    return 0;
}

void DepartureSequence::playUpTo(int line)
{
    m_target = line;
    advance();
}

void DepartureSequence::open()
{
    if (!m_bus.announcementsAvailable()) {
        return;
    }
    const int stepping = nextSteppingLine();
    playUpTo(stepping > 0 ? stepping - 1 : m_bus.tape().GetTapeCount());
}

CommandResult DepartureSequence::leave()
{
    if (const QString held = m_bus.heldReason(); !held.isEmpty()) {
        return {CommandResult::Unavailable, held};
    }
    cutShort();
    if (m_bus.speaking()) {
        m_bus.stopAnnouncement(); // the bus leaves whatever is still being said
    }
    if (m_bus.announcementsAvailable()) {
        if (const int stepping = nextSteppingLine(); stepping > 0) {
            playUpTo(stepping);
            return {};
        }
    }
    return m_bus.step(true);
}

void DepartureSequence::finish()
{
    cutShort();
    if (m_bus.announcementsAvailable()) {
        playUpTo(m_bus.tape().GetTapeCount());
    }
}

void DepartureSequence::advance()
{
    // One line at a time, each after the one before has been said; a line
    // that says nothing (speech failed, a record that only steps) lets the
    // next follow at once.
    while (busy() && !m_bus.speaking()) {
        const qint32 before = m_bus.tape().GetTapePos();
        if (m_bus.announce(true).outcome != CommandResult::Done) {
            break; // held for a moment, or the keys are away: the poll tries again
        }
        if (m_bus.tape().GetTapePos() == before) {
            m_target = 0; // the end of the announcements
        }
    }
    if (busy() && !m_poll.isActive()) {
        m_poll.start();
    } else if (!busy()) {
        m_target = 0;
        m_poll.stop();
    }
}

void DepartureSequence::cutShort()
{
    if (!busy()) {
        return;
    }
    if (m_bus.speaking()) {
        m_bus.stopAnnouncement();
    }
    while (busy()) {
        const qint32 before = m_bus.tape().GetTapePos();
        if (m_bus.passAnnouncement().outcome != CommandResult::Done || m_bus.tape().GetTapePos() == before) {
            break;
        }
    }
    m_target = 0;
    m_poll.stop();
}

void DepartureSequence::abandon()
{
    m_target = 0;
    m_poll.stop();
}
