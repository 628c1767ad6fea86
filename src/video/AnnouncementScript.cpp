#include "AnnouncementScript.h"

#include "fare/BusOperation.h"
#include "sound/mdlM_Tape.h"
#include "video/RecordingClock.h"
#include "video/SoundTimeline.h"
#include "video/TimelineSound.h"

#include <algorithm>

AnnouncementScript::AnnouncementScript(BusOperation &bus, const SoundTimeline &sound, const RecordingClock &clock,
                                       QString route, QString section, int speed)
    : m_bus(bus)
    , m_sound(sound)
    , m_clock(clock)
    , m_route(std::move(route))
    , m_section(std::move(section))
    , m_pauseMs(PauseMs / std::max(speed, 1))
{
}

QString AnnouncementScript::start()
{
    const CommandResult result = m_bus.setRoute(m_route, m_section);
    if (result.outcome != CommandResult::Done) {
        return result.detail.isEmpty() ? result.reason : result.reason + QLatin1Char('\n') + result.detail;
    }
    m_firstStop = m_bus.route().currentStop();
    return {};
}

bool AnnouncementScript::atEnd() const
{
    if (m_bus.announcementsAvailable()) {
        return m_bus.tape().GetTapePos() >= m_bus.tape().GetTapeCount();
    }
    return !m_bus.route().canStepForward();
}

void AnnouncementScript::tick()
{
    if (m_finished) {
        return;
    }
    const qint64 now = m_clock.nowMs();
    if (m_sound.lastEnd() > TimelineSound::sampleAt(now) || m_bus.speaking()) {
        m_quietSince = -1;
        return;
    }
    if (m_quietSince < 0) {
        m_quietSince = now;
    }
    if (now - m_quietSince < m_pauseMs) {
        return;
    }
    m_quietSince = -1;
    if (atEnd()) {
        m_finished = true;
    } else if (m_bus.announcementsAvailable()) {
        m_bus.announce(true);
    } else {
        m_bus.step(true);
    }
}

double AnnouncementScript::progress() const
{
    if (m_finished) {
        return 1;
    }
    if (m_bus.announcementsAvailable()) {
        return double(m_bus.tape().GetTapePos()) / std::max(1, m_bus.tape().GetTapeCount());
    }
    const int stops = m_bus.route().state().RecordCount - m_firstStop;
    return stops > 0 ? double(m_bus.route().currentStop() - m_firstStop) / stops : 0;
}
