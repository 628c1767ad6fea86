#include "OfflineRender.h"

#include "video/RecordingTimeline.h"
#include "video/RenderScript.h"
#include "video/VideoEncoder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>

namespace {

QString clockText(qint64 seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

OfflineRender::OfflineRender(RecordingTimeline &timeline, VideoEncoder &encoder, QTextStream &progress)
    : m_timeline(timeline)
    , m_encoder(encoder)
    , m_progress(progress)
{
}

void OfflineRender::report(double progress, qint64 elapsedMs)
{
    progress = std::clamp(progress, 0.0, 1.0);
    const QString left = progress > 0.001
        ? clockText(qint64(double(elapsedMs) * (1 - progress) / progress / 1000 + 0.5))
        : QStringLiteral("-:--");
    m_progress << QStringLiteral("R57: 動画 %1% %2 フレーム 残り %3")
                      .arg(int(progress * 100))
                      .arg(m_timeline.recordedFrames())
                      .arg(left)
               << Qt::endl;
}

QString OfflineRender::run(RenderScript &script, const std::function<bool()> &interrupted)
{
    const VideoFormat &format = m_encoder.format();
    QElapsedTimer elapsed;
    elapsed.start();
    qint64 reported = 0;
    const QString refused = script.start();
    if (!refused.isEmpty()) {
        return refused;
    }
    while (!script.finished()) {
        // One frame at a time; what the script does lands at the next
        // frame's start, its sound with it.
        m_timeline.runUntil(format.frameStartMs(m_timeline.frames() + 1));
        if (m_timeline.failed()) {
            return m_encoder.errorString();
        }
        if (format.frameStartMs(m_timeline.frames()) > MaxVideoMs) {
            return QStringLiteral("動画が %1 時間を超えても運行が終わりません").arg(MaxVideoMs / 3600000);
        }
        if (interrupted && interrupted()) {
            return QStringLiteral("中断しました");
        }
        script.tick();
        // Queued signals reach the views before the next frame is painted.
        QCoreApplication::processEvents();
        if (elapsed.elapsed() - reported >= 1000) {
            reported = elapsed.elapsed();
            report(script.progress(), reported);
        }
    }
    if (!m_timeline.finish() || !m_encoder.finish()) {
        return m_encoder.errorString();
    }
    report(1, elapsed.elapsed());
    return {};
}
