#include "LiveRecorder.h"

#include "windows/Form1.h"
#include "video/RecordingTimeline.h"
#include "video/SoundTap.h"
#include "video/VideoEncoder.h"

#include <QDateTime>
#include <QDir>
#include <QPainter>
#include <QStandardPaths>

LiveRecorder::LiveRecorder(Form1 &display, SoundTap &tap, QObject *parent)
    : QObject(parent)
    , m_display(display)
    , m_tap(tap)
{
    m_frames.setTimerType(Qt::PreciseTimer);
    m_frames.setInterval(1000 / Fps);
    connect(&m_frames, &QTimer::timeout, this, &LiveRecorder::catchUp);
}

LiveRecorder::~LiveRecorder()
{
    finish();
}

QString LiveRecorder::defaultPath(const QString &route)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    if (folder.isEmpty()) {
        folder = QDir::homePath();
    }
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    const QString name = route.isEmpty() ? QStringLiteral("R57-%1.mp4").arg(stamp)
                                         : QStringLiteral("R57-%1-系統%2.mp4").arg(stamp, route);
    return QDir(folder).filePath(name);
}

bool LiveRecorder::start(const QString &path, QString *error)
{
    if (isRecording()) {
        if (error) {
            *error = QStringLiteral("録画中です（%1）").arg(QDir::toNativeSeparators(m_path));
        }
        return false;
    }
    // The board as the window shows it now; the encoders take even sizes.
    m_format = VideoFormat();
    m_format.fps = Fps;
    const QSize board = m_display.boardRect().size();
    m_format.size = QSize(std::max(16, board.width() & ~1), std::max(16, board.height() & ~1));
    QDir().mkpath(QFileInfo(path).absolutePath());
    m_encoder = VideoEncoder::open(path, m_format, error);
    if (!m_encoder) {
        return false;
    }
    m_path = QFileInfo(path).absoluteFilePath();
    m_clock = RecordingClock();
    m_sound = SoundTimeline();
    m_started.start();
    m_timeline = std::make_unique<RecordingTimeline>(m_format, m_clock, m_sound, *m_encoder, [this] { return paintBoard(); });
    m_tap.attach(m_sound, m_clock, m_started);
    m_frames.start();
    emit recordingChanged(true, QString());
    return true;
}

QImage LiveRecorder::paintBoard()
{
    // Painting is the costly part: a frame the timer was late for repeats
    // the picture just painted.
    if (!m_picture.isNull() && m_started.elapsed() - m_clock.nowMs() > 1000 / Fps) {
        return m_picture;
    }
    const QRect board = m_display.boardRect();
    QImage picture(board.size(), QImage::Format_RGB32);
    picture.fill(Qt::black);
    {
        QPainter painter(&picture);
        m_display.render(&painter, QPoint(), QRegion(board), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    }
    m_picture = picture.size() == m_format.size
        ? picture
        : picture.scaled(m_format.size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return m_picture;
}

void LiveRecorder::catchUp()
{
    if (!m_timeline) {
        return;
    }
    if (!m_timeline->runUntil(m_started.elapsed())) {
        const QString problem = finish();
        emit recordingChanged(false, problem);
    }
}

QString LiveRecorder::stop()
{
    if (!isRecording()) {
        return {};
    }
    const QString problem = finish();
    emit recordingChanged(false, problem);
    return problem;
}

QString LiveRecorder::finish()
{
    m_frames.stop();
    m_tap.detach();
    if (!m_encoder) {
        return {};
    }
    // Up to this moment, then the sound to the end of the last frame.
    m_timeline->runUntil(m_started.elapsed());
    QString problem;
    if (m_timeline->failed() || !m_timeline->finish() || !m_encoder->finish()) {
        problem = m_encoder->errorString();
    }
    m_timeline.reset();
    m_encoder.reset();
    m_picture = QImage();
    return problem;
}
