#include "VideoEncoder.h"

#include "app/LogText.h"
#include "sound/GstAudio.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <gst/app/gstappsrc.h>

namespace {

struct Container
{
    const char *extension;
    const char *description;
    // The encoders of each stream and the muxer; %1 is the key-frame distance.
    const char *video;
    const char *audio;
    const char *muxer;
};

// Quick presets: a render should run well ahead of real time on a small
// machine; the LED board's flat colours compress well all the same.
const Container Containers[] = {
    {"mp4", "H.264 + AAC (MP4)",
     "x264enc speed-preset=superfast trellis=false pass=qual quantizer=21 key-int-max=%1 ! video/x-h264,profile=high ! h264parse",
     "avenc_aac bitrate=128000 ! aacparse", "mp4mux"},
    {"webm", "VP9 + Opus (WebM)", "vp9enc deadline=1 cpu-used=8 row-mt=true threads=2 end-usage=cq cq-level=24 "
                                  "target-bitrate=4000000 keyframe-max-dist=%1",
     "opusenc bitrate=96000", "webmmux"},
    {"mkv", "H.264 + Opus (Matroska)",
     "x264enc speed-preset=superfast trellis=false pass=qual quantizer=21 key-int-max=%1 ! video/x-h264,profile=high ! h264parse",
     "opusenc bitrate=96000", "matroskamux"},
};

const Container *containerOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const Container &container : Containers) {
        if (suffix == QLatin1String(container.extension)) {
            return &container;
        }
    }
    return nullptr;
}

// What the sources may hold before a push waits: a few frames, a second of
// sound. Enough to keep the encoders busy, little enough to stay small.
constexpr int QueuedFrames = 4;
constexpr int QueuedSampleSeconds = 1;
// A pipeline that takes nothing for this long has stalled.
constexpr qint64 StallMs = 60000;

} // namespace

// The byte order of QImage::Format_RGB32 in memory, as GStreamer names it.
namespace {
const char *rgb32Format()
{
    return Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? "BGRx" : "xRGB";
}
} // namespace

QString VideoEncoder::containerFor(const QString &path, QString *error)
{
    if (const Container *container = containerOf(path)) {
        return QString::fromLatin1(container->description);
    }
    if (error) {
        *error = QStringLiteral("%1: 動画の形式は拡張子で選びます（.mp4、.webm、.mkv のどれか）")
                     .arg(QDir::toNativeSeparators(path));
    }
    return {};
}

std::unique_ptr<VideoEncoder> VideoEncoder::open(const QString &path, const VideoFormat &format, QString *error)
{
    const auto refuse = [error](const QString &reason) {
        if (error) {
            *error = reason;
        }
        return nullptr;
    };
    const Container *container = containerOf(path);
    if (!container) {
        QString reason;
        containerFor(path, &reason);
        return refuse(reason);
    }
    if (format.size.width() < 16 || format.size.height() < 16 || format.size.width() > VideoFormat::MaxSide
        || format.size.height() > VideoFormat::MaxSide || format.fps < 1 || format.fps > VideoFormat::MaxFps) {
        return refuse(QStringLiteral("動画の大きさ（16〜%1 ピクセル）かフレームレート（1〜%2）が範囲外です: %3x%4, %5 fps")
                          .arg(VideoFormat::MaxSide)
                          .arg(VideoFormat::MaxFps)
                          .arg(format.size.width())
                          .arg(format.size.height())
                          .arg(format.fps));
    }
    if (!GstAudio::initialise()) {
        return refuse(QStringLiteral("GStreamer を開始できません"));
    }
    std::unique_ptr<VideoEncoder> encoder(new VideoEncoder(QFileInfo(path).absoluteFilePath(), format));
    encoder->m_temporary = encoder->m_replacement.addWrittenByName(encoder->m_path);
    if (encoder->m_temporary.isEmpty()) {
        return refuse(encoder->m_replacement.errorString());
    }
    // Even sizes: the encoders take 4:2:0 pictures.
    const QString text
        = QStringLiteral("appsrc name=video format=time is-live=false caps=video/x-raw,format=%1,width=%2,height=%3,"
                         "framerate=%4/1 ! videoconvert ! videoscale ! video/x-raw,format=I420,width=%5,height=%6 ! %7 "
                         "! queue max-size-buffers=0 max-size-bytes=0 max-size-time=0 ! mux. "
                         "appsrc name=audio format=time is-live=false caps=audio/x-raw,format=S16LE,layout=interleaved,"
                         "rate=%8,channels=1 ! audioconvert ! audioresample ! %9 "
                         "! queue max-size-buffers=0 max-size-bytes=0 max-size-time=0 ! mux. "
                         "%10 name=mux ! filesink name=file")
              .arg(QLatin1String(rgb32Format()))
              .arg(format.size.width())
              .arg(format.size.height())
              .arg(format.fps)
              .arg(format.size.width() & ~1)
              .arg(format.size.height() & ~1)
              .arg(QString::fromLatin1(container->video).arg(format.fps * 2))
              .arg(VideoFormat::SampleRate)
              .arg(QLatin1String(container->audio))
              .arg(QLatin1String(container->muxer));
    if (!encoder->start(text)) {
        return refuse(encoder->errorString());
    }
    return encoder;
}

VideoEncoder::VideoEncoder(const QString &path, const VideoFormat &format)
    : m_path(path)
    , m_format(format)
{
}

VideoEncoder::~VideoEncoder()
{
    stop();
    // Unfinished or failed: the replacement removes its temporary.
}

bool VideoEncoder::start(const QString &pipelineText)
{
    g_autoptr(GError) parseError = nullptr;
    g_autoptr(GstParseContext) context = gst_parse_context_new();
    GstElement *pipeline = gst_parse_launch_full(pipelineText.toUtf8().constData(), context, GST_PARSE_FLAG_FATAL_ERRORS,
                                                 &parseError);
    m_pipeline = adoptFloating(pipeline);
    if (!m_pipeline || parseError) {
        g_auto(GStrv) missing = gst_parse_context_get_missing_elements(context);
        const QString what = missing && missing[0] ? QStringLiteral("GStreamer の要素 %1 がありません").arg(QString::fromUtf8(missing[0]))
                                                   : QString::fromUtf8(parseError ? parseError->message : "?");
        m_pipeline.reset();
        return fail(QStringLiteral("動画の符号化を準備できません: %1").arg(what));
    }
    GstAudio::trackPipeline(m_pipeline.get());
    GstBin *bin = GST_BIN(m_pipeline.get());
    GstObjectPtr<GstElement> video(gst_bin_get_by_name(bin, "video"));
    GstObjectPtr<GstElement> audio(gst_bin_get_by_name(bin, "audio"));
    GstObjectPtr<GstElement> file(gst_bin_get_by_name(bin, "file"));
    m_video = video.get();
    m_audio = audio.get();
    g_object_set(file.get(), "location", QFile::encodeName(m_temporary).constData(), nullptr);
    m_bus.reset(gst_element_get_bus(m_pipeline.get()));
    if (gst_element_set_state(m_pipeline.get(), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        checkBus();
        return fail(m_error.isEmpty() ? QStringLiteral("動画の符号化を始められません") : m_error);
    }
    return checkBus();
}

bool VideoEncoder::fail(const QString &reason)
{
    if (!m_failed) {
        m_failed = true;
        m_error = reason;
    }
    return false;
}

bool VideoEncoder::checkBus()
{
    if (!m_bus) {
        return !m_failed;
    }
    while (GstMessage *message = gst_bus_pop_filtered(m_bus.get(), GST_MESSAGE_ERROR)) {
        failWith(message);
    }
    return !m_failed;
}

bool VideoEncoder::failWith(GstMessage *message)
{
    g_autoptr(GError) error = nullptr;
    gst_message_parse_error(message, &error, nullptr);
    const QString source = QString::fromUtf8(GST_MESSAGE_SRC(message) ? GST_OBJECT_NAME(GST_MESSAGE_SRC(message)) : "?");
    fail(QStringLiteral("動画の符号化に失敗しました（%1: %2）")
             .arg(LogText::escaped(source), LogText::escaped(QString::fromUtf8(error ? error->message : "?"))));
    gst_message_unref(message);
    return false;
}

bool VideoEncoder::waitForRoom(GstElement *source)
{
    const quint64 limit = source == m_video
        ? quint64(QueuedFrames) * quint64(m_format.size.width()) * quint64(m_format.size.height()) * 4
        : quint64(QueuedSampleSeconds) * VideoFormat::SampleRate * sizeof(qint16);
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        guint64 level = 0;
        g_object_get(source, "current-level-bytes", &level, nullptr);
        if (level <= limit) {
            return checkBus();
        }
        // Wakes at once when an error comes; otherwise looks again soon.
        if (GstMessage *error = gst_bus_timed_pop_filtered(m_bus.get(), 5 * GST_MSECOND, GST_MESSAGE_ERROR)) {
            return failWith(error);
        }
        if (waited.elapsed() > StallMs) {
            return fail(QStringLiteral("動画の符号化が進みません（%1 秒）").arg(StallMs / 1000));
        }
    }
}

bool VideoEncoder::push(GstElement *source, GstBuffer *buffer)
{
    if (m_failed || m_finished || !waitForRoom(source)) {
        gst_buffer_unref(buffer);
        return false;
    }
    const GstFlowReturn flow = gst_app_src_push_buffer(GST_APP_SRC(source), buffer); // takes the buffer
    if (flow != GST_FLOW_OK) {
        checkBus();
        return fail(m_error.isEmpty() ? QStringLiteral("動画の符号化が止まりました（%1）")
                                            .arg(QString::fromUtf8(gst_flow_get_name(flow)))
                                      : m_error);
    }
    return true;
}

bool VideoEncoder::pushFrame(const QImage &frame)
{
    if (m_failed || m_finished) {
        return false;
    }
    QImage *held = new QImage(frame.size() == m_format.size && frame.format() == QImage::Format_RGB32
                                  ? frame
                                  : frame.scaled(m_format.size).convertToFormat(QImage::Format_RGB32));
    // The rows must follow each other without padding, as the caps say.
    if (held->bytesPerLine() != held->width() * 4) {
        delete held;
        return fail(QStringLiteral("動画の画像の形式が違います"));
    }
    // Wrapped, not copied: the buffer keeps the picture until the encoder is done with it.
    GstBuffer *buffer = gst_buffer_new_wrapped_full(
        GST_MEMORY_FLAG_READONLY, const_cast<uchar *>(held->constBits()), held->sizeInBytes(), 0, held->sizeInBytes(),
        held, [](gpointer image) { delete static_cast<QImage *>(image); });
    GST_BUFFER_PTS(buffer) = gst_util_uint64_scale(m_frames, GST_SECOND, m_format.fps);
    GST_BUFFER_DURATION(buffer) = gst_util_uint64_scale(m_frames + 1, GST_SECOND, m_format.fps) - GST_BUFFER_PTS(buffer);
    if (!push(m_video, buffer)) {
        return false;
    }
    ++m_frames;
    return true;
}

bool VideoEncoder::pushSamples(const qint16 *samples, qsizetype count)
{
    if (count <= 0) {
        return !m_failed;
    }
    if (m_failed || m_finished) {
        return false;
    }
    const gsize bytes = gsize(count) * sizeof(qint16);
    GstBuffer *buffer = gst_buffer_new_allocate(nullptr, bytes, nullptr);
    gst_buffer_fill(buffer, 0, samples, bytes);
    GST_BUFFER_PTS(buffer) = gst_util_uint64_scale(m_samples, GST_SECOND, VideoFormat::SampleRate);
    GST_BUFFER_DURATION(buffer)
        = gst_util_uint64_scale(m_samples + count, GST_SECOND, VideoFormat::SampleRate) - GST_BUFFER_PTS(buffer);
    if (!push(m_audio, buffer)) {
        return false;
    }
    m_samples += count;
    return true;
}

bool VideoEncoder::finish()
{
    if (m_finished || m_failed) {
        stop();
        return false;
    }
    m_finished = true;
    gst_app_src_end_of_stream(GST_APP_SRC(m_video));
    gst_app_src_end_of_stream(GST_APP_SRC(m_audio));
    // The muxer writes its index at the end: the file is complete at EOS.
    QElapsedTimer waited;
    waited.start();
    bool ended = false;
    while (!ended && !m_failed) {
        GstMessage *raw = gst_bus_timed_pop_filtered(m_bus.get(), 100 * GST_MSECOND,
                                                     GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
        if (!raw) {
            if (waited.elapsed() > StallMs) {
                fail(QStringLiteral("動画の符号化が終わりません（%1 秒）").arg(StallMs / 1000));
            }
            continue;
        }
        if (GST_MESSAGE_TYPE(raw) == GST_MESSAGE_EOS) {
            gst_message_unref(raw);
            ended = true;
        } else {
            failWith(raw);
        }
    }
    stop();
    if (m_failed) {
        return false;
    }
    if (!m_replacement.commit()) {
        return fail(m_replacement.errorString());
    }
    return true;
}

void VideoEncoder::stop()
{
    if (m_pipeline) {
        gst_element_set_state(m_pipeline.get(), GST_STATE_NULL);
        m_video = nullptr;
        m_audio = nullptr;
        m_bus.reset();
        m_pipeline.reset();
    }
}
