#include "SoundDecoder.h"

#include "app/LogText.h"
#include "sound/GstAudio.h"
#include "sound/GstPtr.h"
#include "video/MediaSink.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gst/app/gstappsink.h>
#include <gst/app/gstappsrc.h>

#include <cstring>

namespace {

constexpr qint64 MaxSamples = qint64(SoundDecoder::MaxSeconds) * VideoFormat::SampleRate;

bool fail(QString *error, const QString &reason)
{
    if (error) {
        *error = reason;
    }
    return false;
}

// The pipeline's first error, if one came.
QString busError(GstElement *pipeline)
{
    GstObjectPtr<GstBus> bus(gst_element_get_bus(pipeline));
    g_autoptr(GstMessage) message = gst_bus_pop_filtered(bus.get(), GST_MESSAGE_ERROR);
    if (!message) {
        return {};
    }
    g_autoptr(GError) error = nullptr;
    gst_message_parse_error(message, &error, nullptr);
    return LogText::escaped(QString::fromUtf8(error ? error->message : "?"));
}

// Runs `description` (ending in an appsink named "sink") and collects what
// reaches the sink. `feed` pushes the input of an appsrc named "src", if any.
// `prepare` sets up the elements before the pipeline starts.
SoundTimeline::Samples collect(const QString &description, const QString &what, QString *error,
                               const std::function<void(GstBin *)> &prepare,
                               const std::function<void(GstElement *)> &feed = {})
{
    if (!GstAudio::initialise()) {
        fail(error, QStringLiteral("GStreamer を開始できません"));
        return nullptr;
    }
    g_autoptr(GError) parseError = nullptr;
    GstObjectPtr<GstElement> pipeline = adoptFloating(
        gst_parse_launch_full(description.toUtf8().constData(), nullptr, GST_PARSE_FLAG_FATAL_ERRORS, &parseError));
    if (!pipeline || parseError) {
        fail(error, QStringLiteral("%1: 音を読めません（%2）").arg(what, QString::fromUtf8(parseError ? parseError->message : "?")));
        return nullptr;
    }
    GstAudio::trackPipeline(pipeline.get());
    GstObjectPtr<GstElement> sink(gst_bin_get_by_name(GST_BIN(pipeline.get()), "sink"));
    if (prepare) {
        prepare(GST_BIN(pipeline.get()));
    }
    auto samples = std::make_shared<std::vector<qint16>>();
    bool ok = gst_element_set_state(pipeline.get(), GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE;
    if (ok && feed) {
        GstObjectPtr<GstElement> source(gst_bin_get_by_name(GST_BIN(pipeline.get()), "src"));
        feed(source.get());
    }
    QString reason;
    while (ok) {
        // Waits a little at a time, so that an error (which brings no EOS) is seen.
        g_autoptr(GstSample) sample = gst_app_sink_try_pull_sample(GST_APP_SINK(sink.get()), 100 * GST_MSECOND);
        if (!sample) {
            if (gst_app_sink_is_eos(GST_APP_SINK(sink.get()))) {
                break;
            }
            reason = busError(pipeline.get());
            ok = reason.isEmpty();
            continue;
        }
        GstBuffer *buffer = gst_sample_get_buffer(sample);
        GstMapInfo map;
        if (buffer && gst_buffer_map(buffer, &map, GST_MAP_READ)) {
            const size_t count = map.size / sizeof(qint16);
            if (qint64(samples->size() + count) > MaxSamples) {
                reason = QStringLiteral("%1 秒より長い音です").arg(SoundDecoder::MaxSeconds);
                ok = false;
            } else {
                const size_t old = samples->size();
                samples->resize(old + count);
                std::memcpy(samples->data() + old, map.data, count * sizeof(qint16));
            }
            gst_buffer_unmap(buffer, &map);
        }
    }
    if (reason.isEmpty() && !ok) {
        reason = busError(pipeline.get());
    }
    gst_element_set_state(pipeline.get(), GST_STATE_NULL);
    if (!ok) {
        fail(error, QStringLiteral("%1: 音を読めません（%2）").arg(what, reason.isEmpty() ? QStringLiteral("?") : reason));
        return nullptr;
    }
    return samples;
}

QString outputCaps()
{
    return QStringLiteral("audio/x-raw,format=S16LE,layout=interleaved,channels=1,rate=%1").arg(VideoFormat::SampleRate);
}

} // namespace

namespace SoundDecoder {

SoundTimeline::Samples decodeFile(const QString &path, QString *error)
{
    const QFileInfo info(path);
    const QString named = LogText::escaped(QDir::toNativeSeparators(path));
    if (!info.exists()) {
        fail(error, QStringLiteral("%1: 音のファイルがありません").arg(named));
        return nullptr;
    }
    if (!info.isFile()) {
        fail(error, QStringLiteral("%1: ファイルではありません").arg(named));
        return nullptr;
    }
    if (info.size() > MaxFileBytes) {
        fail(error, QStringLiteral("%1: 音のファイルが大きすぎます").arg(named));
        return nullptr;
    }
    const QString description = QStringLiteral("filesrc name=file ! decodebin ! audioconvert ! audioresample ! %1 "
                                               "! appsink name=sink sync=false")
                                    .arg(outputCaps());
    // The path goes in as a property, never into the pipeline's text.
    const QByteArray location = QFile::encodeName(info.absoluteFilePath());
    return collect(description, named, error, [&location](GstBin *bin) {
        GstObjectPtr<GstElement> file(gst_bin_get_by_name(bin, "file"));
        g_object_set(file.get(), "location", location.constData(), nullptr);
    });
}

SoundTimeline::Samples resample(const std::vector<qint16> &samples, int sampleRate, QString *error)
{
    if (sampleRate == VideoFormat::SampleRate || samples.empty()) {
        return std::make_shared<const std::vector<qint16>>(samples);
    }
    const QString description = QStringLiteral("appsrc name=src format=time max-bytes=0 caps=audio/x-raw,format=S16LE,"
                                               "layout=interleaved,channels=1,rate=%1 ! audioconvert ! audioresample ! %2 "
                                               "! appsink name=sink sync=false")
                                    .arg(sampleRate)
                                    .arg(outputCaps());
    return collect(description, QStringLiteral("音声"), error, {}, [&samples, sampleRate](GstElement *source) {
        const gsize bytes = samples.size() * sizeof(qint16);
        GstBuffer *buffer = gst_buffer_new_allocate(nullptr, bytes, nullptr);
        gst_buffer_fill(buffer, 0, samples.data(), bytes);
        GST_BUFFER_PTS(buffer) = 0;
        GST_BUFFER_DURATION(buffer) = gst_util_uint64_scale(samples.size(), GST_SECOND, sampleRate);
        gst_app_src_push_buffer(GST_APP_SRC(source), buffer);
        gst_app_src_end_of_stream(GST_APP_SRC(source));
    });
}

} // namespace SoundDecoder
