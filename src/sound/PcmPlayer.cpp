#include "PcmPlayer.h"

#include "sound/GstAudio.h"
#include "sound/SoundLog.h"

#include <gst/app/gstappsrc.h>
#include <gst/gst.h>

struct PcmPlayerCallbacks
{
    // On a streaming thread: only flags change here, never a pipeline's state.
    static GstBusSyncReply onBusMessage(GstBus *, GstMessage *message, gpointer self)
    {
        const GstMessageType type = GST_MESSAGE_TYPE(message);
        if (type == GST_MESSAGE_EOS || type == GST_MESSAGE_ERROR) {
            // Said once for an utterance, however many elements complain.
            const bool wasPlaying = static_cast<PcmPlayer *>(self)->m_playing.exchange(false);
            if (type == GST_MESSAGE_ERROR && wasPlaying) {
                g_autoptr(GError) reason = nullptr;
                gst_message_parse_error(message, &reason, nullptr);
                qCWarning(lcSound, "Cannot play an announcement: %s", reason ? reason->message : "unknown error");
            }
        }
        // A dropped message is ours to release, and it holds the pipeline.
        gst_message_unref(message);
        return GST_BUS_DROP;
    }

    static GstPadProbeReturn onSinkBuffer(GstPad *, GstPadProbeInfo *, gpointer self)
    {
        auto *player = static_cast<PcmPlayer *>(self);
        if (!player->m_firstSampleSeen.exchange(true) && player->m_firstSampleObserver) {
            player->m_firstSampleObserver();
        }
        return GST_PAD_PROBE_OK;
    }
};

std::unique_ptr<PcmPlayer> PcmPlayer::create(int sampleRate)
{
    if (!GstAudio::initialise()) {
        return nullptr;
    }
    GstObjectPtr<GstElement> pipeline = adoptFloating(gst_pipeline_new("speech"));
    const GstObjectPtr<GstElement> source = adoptFloating(gst_element_factory_make("appsrc", nullptr));
    const GstObjectPtr<GstElement> convert = adoptFloating(gst_element_factory_make("audioconvert", nullptr));
    const GstObjectPtr<GstElement> resample = adoptFloating(gst_element_factory_make("audioresample", nullptr));
    const GstObjectPtr<GstElement> sink = adoptFloating(GstAudio::makeAudioSink());
    if (!pipeline || !source || !convert || !resample || !sink) {
        qCWarning(lcSound, "Cannot play announcements: a GStreamer element is missing");
        return nullptr;
    }
    // The bin takes references of its own.
    gst_bin_add_many(GST_BIN(pipeline.get()), source.get(), convert.get(), resample.get(), sink.get(), nullptr);
    if (!gst_element_link_many(source.get(), convert.get(), resample.get(), sink.get(), nullptr)) {
        qCWarning(lcSound, "Cannot play announcements: the speech pipeline does not link");
        return nullptr;
    }
    GstAudio::trackPipeline(pipeline.get());

    g_autoptr(GstCaps) caps = gst_caps_new_simple("audio/x-raw", "format", G_TYPE_STRING, "S16LE", "layout", G_TYPE_STRING,
                                        "interleaved", "rate", G_TYPE_INT, sampleRate, "channels", G_TYPE_INT, 1,
                                        nullptr);
    // The whole utterance is queued at once (max-bytes 0: no limit), with
    // timestamps, so that even a fake sink plays it in real time.
    g_object_set(source.get(), "caps", caps, "format", GST_FORMAT_TIME, "max-bytes", guint64(0), nullptr);

    auto player = std::unique_ptr<PcmPlayer>(new PcmPlayer(std::move(pipeline), source.get(), sampleRate));
    g_autoptr(GstBus) bus = gst_element_get_bus(player->m_pipeline.get());
    gst_bus_set_sync_handler(bus, &PcmPlayerCallbacks::onBusMessage, player.get(), nullptr);
    g_autoptr(GstPad) sinkPad = gst_element_get_static_pad(sink.get(), "sink");
    if (sinkPad) {
        gst_pad_add_probe(sinkPad, GST_PAD_PROBE_TYPE_BUFFER, &PcmPlayerCallbacks::onSinkBuffer, player.get(),
                          nullptr);
    }
    return player;
}

PcmPlayer::PcmPlayer(GstObjectPtr<GstElement> pipeline, GstElement *source, int sampleRate)
    : m_pipeline(std::move(pipeline))
    , m_source(source)
    , m_sampleRate(sampleRate)
{
}

PcmPlayer::~PcmPlayer()
{
    // Stopping joins the streaming threads: no callback follows.
    gst_element_set_state(m_pipeline.get(), GST_STATE_NULL);
    g_autoptr(GstBus) bus = gst_element_get_bus(m_pipeline.get());
    gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
}

void PcmPlayer::start()
{
    // Going to NULL stops the streaming threads and drops what was queued.
    gst_element_set_state(m_pipeline.get(), GST_STATE_NULL);
    m_samplesPushed = 0;
    m_firstSampleSeen = false;
    m_playing = true;
    gst_element_set_state(m_pipeline.get(), GST_STATE_PLAYING);
}

void PcmPlayer::push(const qint16 *samples, int count)
{
    if (count <= 0) {
        return;
    }
    const gsize bytes = static_cast<gsize>(count) * sizeof(qint16);
    GstBuffer *buffer = gst_buffer_new_allocate(nullptr, bytes, nullptr);
    gst_buffer_fill(buffer, 0, samples, bytes);
    GST_BUFFER_PTS(buffer) = gst_util_uint64_scale(m_samplesPushed, GST_SECOND, m_sampleRate);
    GST_BUFFER_DURATION(buffer) = gst_util_uint64_scale(count, GST_SECOND, m_sampleRate);
    m_samplesPushed += count;
    gst_app_src_push_buffer(GST_APP_SRC(m_source), buffer); // takes the buffer
}

void PcmPlayer::finish()
{
    gst_app_src_end_of_stream(GST_APP_SRC(m_source));
}

void PcmPlayer::stop()
{
    gst_element_set_state(m_pipeline.get(), GST_STATE_NULL);
    m_playing = false;
}

void PcmPlayer::setFirstSampleObserver(std::function<void()> observer)
{
    m_firstSampleObserver = std::move(observer);
}
