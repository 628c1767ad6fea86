#include "GstChannel.h"

#include "GstAudio.h"

#include <QFile>
#include <QFileInfo>

namespace {

// Audio only: no video or subtitle decoding, software volume.
constexpr guint AudioOnlyFlags = (1u << 1) | (1u << 4);

// Debian's small General MIDI SoundFont. Named explicitly because the
// system default may be another, much larger one, or missing.
constexpr const char *MidiSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
constexpr double MidiSynthGain = 0.8;

// Opening a file waits this long for its first sound to be decoded.
constexpr GstClockTime PrerollTimeout = 5 * GST_SECOND;

} // namespace

GstChannel::GstChannel(const QString &path)
{
    if (!GstAudio::initialise()) {
        return;
    }
    GstElement *playbin = gst_element_factory_make("playbin", nullptr);
    if (!playbin) {
        return;
    }
    gst_object_ref_sink(playbin);
    gchar *uri = gst_filename_to_uri(QFile::encodeName(QFileInfo(path).absoluteFilePath()).constData(), nullptr);
    g_object_set(playbin, "uri", uri, "flags", AudioOnlyFlags, "audio-sink", GstAudio::makeAudioSink(), nullptr);
    g_free(uri);
    g_signal_connect(playbin, "element-setup", G_CALLBACK(&GstChannel::onElementSetup), nullptr);

    GstBus *bus = gst_element_get_bus(playbin);
    gst_bus_set_sync_handler(bus, &GstChannel::onBusMessage, this, nullptr);
    gst_object_unref(bus);

    m_playbin = playbin;
    gst_element_set_state(m_playbin, GST_STATE_PAUSED);
    const GstStateChangeReturn prerolled = gst_element_get_state(m_playbin, nullptr, nullptr, PrerollTimeout);
    if (prerolled != GST_STATE_CHANGE_SUCCESS) {
        release();
    }
}

GstChannel::~GstChannel()
{
    release();
}

void GstChannel::release()
{
    if (!m_playbin) {
        return;
    }
    // Stopping the pipeline joins its threads: no bus message follows.
    gst_element_set_state(m_playbin, GST_STATE_NULL);
    GstBus *bus = gst_element_get_bus(m_playbin);
    gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
    gst_object_unref(bus);
    gst_object_unref(m_playbin);
    m_playbin = nullptr;
}

void GstChannel::onElementSetup(GstElement *, GstElement *element, gpointer)
{
    GstElementFactory *factory = gst_element_get_factory(element);
    if (factory && g_strcmp0(gst_plugin_feature_get_name(GST_PLUGIN_FEATURE(factory)), "fluiddec") == 0
        && QFileInfo::exists(QString::fromLatin1(MidiSoundFont))) {
        g_object_set(element, "soundfont", MidiSoundFont, "synth-gain", MidiSynthGain, nullptr);
    }
}

GstBusSyncReply GstChannel::onBusMessage(GstBus *, GstMessage *message, gpointer self)
{
    // Runs on GStreamer's threads: only note the end here, and leave every
    // change of the pipeline's state to the channel's own thread.
    const GstMessageType type = GST_MESSAGE_TYPE(message);
    if (type == GST_MESSAGE_EOS || type == GST_MESSAGE_ERROR) {
        auto *channel = static_cast<GstChannel *>(self);
        channel->markEnded();
        QMetaObject::invokeMethod(channel, &GstChannel::ended, Qt::QueuedConnection);
    }
    // Nobody reads the bus: dropping keeps its queue from growing.
    return GST_BUS_DROP;
}

void GstChannel::markEnded()
{
    {
        const std::lock_guard lock(m_mutex);
        m_playing = false;
    }
    m_endedChanged.notify_all();
}

bool GstChannel::playFromStart()
{
    if (!m_playbin) {
        return false;
    }
    const bool rewound = gst_element_seek_simple(m_playbin, GST_FORMAT_TIME,
                                                 GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), 0);
    if (!rewound) {
        // A stream that cannot seek starts over from a stopped pipeline.
        gst_element_set_state(m_playbin, GST_STATE_READY);
    }
    {
        const std::lock_guard lock(m_mutex);
        m_playing = true;
    }
    if (gst_element_set_state(m_playbin, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        markEnded();
        return false;
    }
    return true;
}

void GstChannel::stop()
{
    if (m_playbin) {
        gst_element_set_state(m_playbin, GST_STATE_PAUSED);
    }
    markEnded();
    emit ended();
}

bool GstChannel::isPlaying() const
{
    const std::lock_guard lock(m_mutex);
    return m_playing;
}

void GstChannel::waitForEnd()
{
    std::unique_lock lock(m_mutex);
    m_endedChanged.wait(lock, [this] { return !m_playing; });
}
