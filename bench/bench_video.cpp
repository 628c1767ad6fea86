// Measures a video render with the real encoders: route 12 of the demo data
// announced stop by stop at speed 10, painted at 1280 x 427 and 30 frames a
// second into H.264 + AAC, 20 s of video a round. Target (median of three
// rounds): the render runs at least 4 times faster than real time. The
// processor time is printed beside it.

#include "recording/BoardFramePainter.h"
#include "windows/Form1.h"
#include "display/JapaneseFonts.h"
#include "video/RecordingPlatform.h"
#include "windows/frmCtl.h"
#include "video/AnnouncementScript.h"
#include "video/OfflineRender.h"
#include "video/RecordingTimeline.h"
#include "video/VideoEncoder.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

constexpr qint64 VideoMs = 20000;
constexpr double TargetRatio = 4;

// The demo route's announcements, cut off after VideoMs of video.
class FirstSeconds : public RenderScript
{
public:
    FirstSeconds(RenderScript &script, const RecordingClock &clock)
        : m_script(script)
        , m_clock(clock)
    {
    }
    QString start() override { return m_script.start(); }
    void tick() override { m_script.tick(); }
    bool finished() const override { return m_script.finished() || m_clock.nowMs() >= VideoMs; }
    double progress() const override { return double(m_clock.nowMs()) / VideoMs; }

private:
    RenderScript &m_script;
    const RecordingClock &m_clock;
};

double processMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    JapaneseFonts::installSubstitutions();
    // The demo routes are read from the working folder.
    QDir::setCurrent(QStringLiteral(TAVELO_SAMPLES_DIR));
    QTemporaryDir out;
    VideoFormat format;
    format.size = QSize(1280, 427);
    format.fps = 30;
    std::vector<double> ratios;
    for (int round = 0; round < 3; ++round) {
        QString error;
        std::unique_ptr<VideoEncoder> encoder = VideoEncoder::open(out.filePath(QStringLiteral("bench.mp4")), format, &error);
        if (!encoder) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        RecordingPlatform platform;
        Form1 display(platform.services());
        display.setAttribute(Qt::WA_DontShowOnScreen);
        display.controlPanel()->setAttribute(Qt::WA_DontShowOnScreen);
        display.Form_Load();
        BoardFramePainter painter(display, format.size, platform.clock());
        RecordingTimeline timeline(format, platform.clock(), platform.sound(), *encoder, [&painter] { return painter.paint(); });
        AnnouncementScript announcements(display.operation(), platform.sound(), platform.clock(), QStringLiteral("12"),
                                         QStringLiteral("1"), 10);
        FirstSeconds script(announcements, platform.clock());
        QString progress;
        QTextStream quiet(&progress);
        OfflineRender render(timeline, *encoder, quiet);
        const double cpuBefore = processMs();
        QElapsedTimer wall;
        wall.start();
        const QString failure = render.run(script, {});
        const double wallMs = wall.nsecsElapsed() / 1e6;
        const double cpuMs = processMs() - cpuBefore;
        if (!failure.isEmpty()) {
            std::fprintf(stderr, "render failed: %s\n", qPrintable(failure));
            return 1;
        }
        const double videoMs = double(format.frameStartMs(timeline.recordedFrames()));
        ratios.push_back(videoMs / wallMs);
        std::printf("round %d: %.1f s of video in %.1f s (%.2fx real time), %.1f s of processor time (%.2fx)\n", round + 1,
                    videoMs / 1000, wallMs / 1000, videoMs / wallMs, cpuMs / 1000, videoMs / cpuMs);
    }
    std::sort(ratios.begin(), ratios.end());
    const double median = ratios[ratios.size() / 2];
    const bool met = median >= TargetRatio;
    std::printf("render 1280x427 30 fps H.264 + AAC: median %.2fx real time (target >= %gx): %s\n", median, TargetRatio,
                met ? "met" : "MISSED");
    return met ? 0 : 1;
}
