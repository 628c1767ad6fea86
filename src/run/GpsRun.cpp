#include "GpsRun.h"

#include "app/LogText.h"
#include "fare/BusOperation.h"
#include "run/RunLog.h"
#include "sound/mdlM_Tape.h"

#include <QJsonValue>

#include <cmath>

GpsRun::GpsRun(BusOperation &bus, std::unique_ptr<FixSource> source, std::vector<GpsStopTracker::Stop> stops,
               double radiusMetres, QObject *parent)
    : BusRun(parent)
    , m_bus(bus)
    , m_source(std::move(source))
    , m_tracker(std::move(stops), radiusMetres)
    , m_sequence(bus)
{
    m_check.setInterval(CheckMs);
    connect(&m_check, &QTimer::timeout, this, &GpsRun::check);
    connect(m_source.get(), &FixSource::fixReceived, this, &GpsRun::takeFix);
    connect(m_source.get(), &FixSource::stateChanged, this, [this](FixSource::State state) {
        if (state == FixSource::State::Finished && !m_finishing) {
            end(QStringLiteral("軌跡が終わりました"));
            return;
        }
        emit changed();
    });
    followRoute(m_bus);
}

GpsRun::~GpsRun() = default;

void GpsRun::start()
{
    const int first = m_bus.route().state().StartSection;
    m_tracker.setCurrentStop(m_bus.route().currentStop() - 1);
    if (m_bus.route().currentStop() == first && m_bus.tape().GetTapePos() == 0) {
        m_sequence.open();
    }
    m_check.start();
    m_source->start();
}

bool GpsRun::stale() const
{
    return m_source->state() != FixSource::State::Receiving || m_tracker.isStale(m_source->nowMs());
}

void GpsRun::takeFix(const PositionFix &fix)
{
    if (stopped() || m_finishing) {
        return;
    }
    check(); // the operator's steps first
    m_pending += int(m_tracker.update(fix, m_source->nowMs()).size());
    check();
    emit changed();
}

void GpsRun::check()
{
    if (stopped()) {
        return;
    }
    // Stops the operator has stepped past by hand are not left again.
    const int board = m_bus.route().currentStop() - 1;
    if (m_pending == 0 && board > m_tracker.currentStop()) {
        m_tracker.setCurrentStop(board);
    }
    leaveStops();
    const bool isStale = stale();
    if (isStale != m_wasStale) {
        m_wasStale = isStale;
        qCInfo(lcRun).noquote() << (isStale ? QStringLiteral("GPS運行: 位置が得られません。バスは止まったままです")
                                            : QStringLiteral("GPS運行: 位置を受け取っています"));
        emit changed();
    }
    if (m_finishing) {
        if (!m_sequence.busy()) {
            end(QStringLiteral("終点に着きました"));
        }
        return;
    }
    if (m_pending == 0 && m_tracker.isAtStop() && m_tracker.currentStop() + 1 >= m_tracker.stopCount()) {
        m_sequence.finish();
        m_finishing = true;
        emit changed();
        if (!m_sequence.busy()) {
            end(QStringLiteral("終点に着きました"));
        }
        return;
    }
    if (isStale) {
        emit changed(); // the age shown grows
    }
}

void GpsRun::leaveStops()
{
    while (m_pending > 0) {
        if (m_sequence.leave().outcome != CommandResult::Done) {
            // Held for a moment (a lamp test, a sound waited for): again soon.
            QTimer::singleShot(RetryMs, this, &GpsRun::check);
            return;
        }
        --m_pending;
    }
}

void GpsRun::stop()
{
    markStopped();
    m_check.stop();
    m_sequence.abandon();
    // Nothing more comes: the connection to gpsd closes, the replay stops.
    m_source->disconnect(this);
}

QJsonObject GpsRun::state() const
{
    QJsonValue fix;
    if (const std::optional<PositionFix> &last = m_tracker.lastFix()) {
        const double age = std::max<qint64>(0, m_source->nowMs() - last->timeMs) / 1000.0;
        fix = QJsonObject{{"lat", last->place.lat}, {"lon", last->place.lon}, {"age", std::round(age * 10) / 10}};
    }
    return {{"mode", mode()},
            {"source", m_source->description()},
            {"connected", m_source->state() == FixSource::State::Receiving},
            {"fix", fix},
            {"stale", stale()},
            {"radius", m_tracker.radiusMetres()},
            {"position", m_tracker.currentStop() + 1},
            {"atStop", m_tracker.isAtStop()}};
}

QString GpsRun::statusText() const
{
    const QString title = QStringLiteral("GPS運行 %1").arg(m_source->description());
    const QString stopName = m_bus.route().table().slot(m_tracker.currentStop() + 1).name;
    QString line;
    if (m_finishing) {
        line = QStringLiteral("終点に着きました");
    } else if (m_source->state() == FixSource::State::Unavailable) {
        line = QStringLiteral("gpsd がありません（止まったまま）");
    } else if (m_source->state() == FixSource::State::Starting) {
        line = QStringLiteral("gpsd に接続しています");
    } else if (!m_tracker.lastFix()) {
        line = QStringLiteral("位置を待っています");
    } else if (stale()) {
        line = QStringLiteral("位置が %1 秒前のまま（止まったまま）")
                   .arg((m_source->nowMs() - m_tracker.lastFix()->timeMs) / 1000);
    } else if (m_tracker.isAtStop()) {
        line = QStringLiteral("停車中 %1").arg(stopName);
    } else {
        line = QStringLiteral("次 %1").arg(stopName);
    }
    return title + u'\n' + line;
}
