#include "GstChannel.h"

#include "GstAudio.h"
#include "SoundLog.h"

#include <QFile>
#include <QFileInfo>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {

// Debian's small General MIDI SoundFont. Named explicitly because the
// system default may be another, much larger one, or missing.
constexpr const char *MidiSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
constexpr double MidiSynthGain = 0.8;

// Opening a file waits at most this long to learn whether it plays.
constexpr auto OpenTimeout = std::chrono::seconds(5);

// A waited play that has not ended this long after the sound's length has
// stalled; one whose length is not known is given up after the cap. The
// margin covers a slow start, such as a synthesiser loading its SoundFont.
constexpr auto StallMargin = std::chrono::seconds(5);
constexpr auto UnknownLengthLimit = std::chrono::seconds(30);

// Links the decoded sound to the converter; other streams (a cover picture
// in an MP3) stay unused.
void linkDecodedAudio(GstElement *, GstPad *decoded, gpointer converter)
{
    g_autoptr(GstCaps) caps = gst_pad_query_caps(decoded, nullptr);
    const GstStructure *format = caps && !gst_caps_is_empty(caps) ? gst_caps_get_structure(caps, 0) : nullptr;
    if (!format || !g_str_has_prefix(gst_structure_get_name(format), "audio/")) {
        return;
    }
    g_autoptr(GstPad) input = gst_element_get_static_pad(GST_ELEMENT(converter), "sink");
    if (!gst_pad_is_linked(input)) {
        gst_pad_link(decoded, input);
    }
}

bool isMidiSynthesiser(GstElement *element)
{
    GstElementFactory *factory = gst_element_get_factory(element);
    return factory && g_strcmp0(gst_plugin_feature_get_name(GST_PLUGIN_FEATURE(factory)), "fluiddec") == 0;
}

// A reference to the shared state for one of GStreamer's callbacks, given
// back by GStreamer once the callback can no longer run.
template <typename Shared>
gpointer holdFor(const std::shared_ptr<Shared> &shared)
{
    return new std::shared_ptr<Shared>(shared);
}

template <typename Shared>
void letGo(gpointer held)
{
    delete static_cast<std::shared_ptr<Shared> *>(held);
}

template <typename Shared>
Shared &from(gpointer held)
{
    return **static_cast<std::shared_ptr<Shared> *>(held);
}

} // namespace

struct GstChannel::Shared
{
    // What is known of the file.
    enum class Stream { Opening, Playable, Failed };

    Shared(const QString &file, GstChannel *channel)
        : path(file)
        , owner(channel)
    {
    }

    void notePlayable()
    {
        {
            const std::lock_guard lock(mutex);
            if (stream != Stream::Opening) {
                return;
            }
            stream = Stream::Playable;
        }
        changed.notify_all();
    }

    // Said once for the file, however many elements complain, and said
    // before anybody waiting for the open learns of the failure.
    void noteError(GstMessage *error)
    {
        g_autoptr(GError) reason = nullptr;
        gst_message_parse_error(error, &reason, nullptr);
        {
            const std::lock_guard lock(mutex);
            if (!failureLogged) {
                qCWarning(lcSound, "Cannot play %s: %s", qUtf8Printable(path),
                          reason ? reason->message : "unknown error");
                failureLogged = true;
            }
            stream = Stream::Failed;
        }
        changed.notify_all();
    }

    // Ends `ended` unless a later play has begun, and tells the channel on
    // its own thread.
    void endPlay(quint64 ended)
    {
        {
            const std::lock_guard lock(mutex);
            if (ended != play) {
                return;
            }
            playing = false;
            if (owner) {
                // The notice is dropped with the channel when it is closed first.
                GstChannel *channel = owner;
                QMetaObject::invokeMethod(
                    channel, [channel, ended] { channel->reportEnd(ended); }, Qt::QueuedConnection);
            }
        }
        changed.notify_all();
    }

    const QString path;
    std::mutex mutex;
    std::condition_variable changed;
    GstChannel *owner; // null once the channel is closed
    Stream stream = Stream::Opening;
    bool failureLogged = false;
    // Numbers the plays, so that the end of one is not taken for the end of
    // the next: the latest play begun, and the one whose sound is flowing.
    quint64 play = 0;
    quint64 streaming = 0;
    bool playing = false;
};

GstChannel::GstChannel(const QString &path)
    : m_shared(std::make_shared<Shared>(path, this))
{
    if (!GstAudio::initialise()) {
        return;
    }
    // A pipeline of our own rather than playbin, whose audio chain keeps a
    // little of every sound it played.
    GstObjectPtr<GstElement> pipeline = adoptFloating(gst_pipeline_new(nullptr));
    const GstObjectPtr<GstElement> decoder = adoptFloating(gst_element_factory_make("uridecodebin", nullptr));
    const GstObjectPtr<GstElement> converter = adoptFloating(gst_element_factory_make("audioconvert", nullptr));
    const GstObjectPtr<GstElement> resampler = adoptFloating(gst_element_factory_make("audioresample", nullptr));
    const GstObjectPtr<GstElement> sink = adoptFloating(GstAudio::makeAudioSink());
    if (!pipeline || !decoder || !converter || !resampler || !sink) {
        qCWarning(lcSound, "Cannot play %s: a GStreamer element is missing", qUtf8Printable(path));
        return;
    }
    // The bin takes references of its own.
    gst_bin_add_many(GST_BIN(pipeline.get()), decoder.get(), converter.get(), resampler.get(), sink.get(), nullptr);
    if (!gst_element_link_many(converter.get(), resampler.get(), sink.get(), nullptr)) {
        qCWarning(lcSound, "Cannot play %s: the audio output does not link", qUtf8Printable(path));
        return;
    }
    g_autofree gchar *uri =
        gst_filename_to_uri(QFile::encodeName(QFileInfo(path).absoluteFilePath()).constData(), nullptr);
    g_object_set(decoder.get(), "uri", uri, nullptr);
    g_signal_connect(decoder.get(), "pad-added", G_CALLBACK(&linkDecodedAudio), converter.get());
    g_signal_connect_data(pipeline.get(), "deep-element-added", G_CALLBACK(&GstChannel::onElementAdded),
                          holdFor(m_shared), [](gpointer held, GClosure *) { letGo<Shared>(held); },
                          GConnectFlags(0));
    g_autoptr(GstBus) bus = gst_element_get_bus(pipeline.get());
    gst_bus_set_sync_handler(bus, &GstChannel::onBusMessage, holdFor(m_shared), &letGo<Shared>);
    GstAudio::trackPipeline(pipeline.get());
    m_pipeline = std::move(pipeline);

    // A file that cannot even be read fails at once, its error already
    // noted by the bus handler.
    bool opened = gst_element_set_state(m_pipeline.get(), GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE;
    if (opened) {
        std::unique_lock lock(m_shared->mutex);
        if (!m_shared->changed.wait_for(lock, OpenTimeout,
                                        [this] { return m_shared->stream != Shared::Stream::Opening; })) {
            qCWarning(lcSound, "Cannot play %s: no sound within %lld s", qUtf8Printable(path),
                      static_cast<long long>(OpenTimeout.count()));
        }
        opened = m_shared->stream == Shared::Stream::Playable;
    }
    if (!opened) {
        release();
    }
}

GstChannel::~GstChannel()
{
    release();
}

void GstChannel::release()
{
    {
        const std::lock_guard lock(m_shared->mutex);
        m_shared->owner = nullptr;
        m_shared->playing = false;
    }
    m_shared->changed.notify_all();
    if (!m_pipeline) {
        return;
    }
    // Stopping a pipeline waits for its elements, and a MIDI synthesiser
    // still loading its SoundFont takes a while: the pipeline stops on one
    // of GStreamer's threads, which holds it until then and frees it after.
    gst_element_call_async(
        m_pipeline.get(), [](GstElement *pipeline, gpointer) { gst_element_set_state(pipeline, GST_STATE_NULL); },
        nullptr, nullptr);
    m_pipeline.reset();
}

void GstChannel::onElementAdded(GstBin *, GstBin *, GstElement *element, gpointer shared)
{
    if (!isMidiSynthesiser(element)) {
        return;
    }
    if (QFileInfo::exists(QString::fromLatin1(MidiSoundFont))) {
        g_object_set(element, "soundfont", MidiSoundFont, "synth-gain", MidiSynthGain, nullptr);
    }
    // The file has been read as MIDI. Loading the SoundFont takes the
    // synthesiser a good while; the caller need not wait for it, the sound
    // simply starts once it is loaded.
    from<Shared>(shared).notePlayable();
}

GstBusSyncReply GstChannel::onBusMessage(GstBus *, GstMessage *message, gpointer held)
{
    // Runs on GStreamer's threads: only note what happened here, and leave
    // every change of the pipeline's state to the channel's own thread.
    Shared &shared = from<Shared>(held);
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ASYNC_DONE: // prerolled: the first sound is decoded
        shared.notePlayable();
        break;
    case GST_MESSAGE_EOS: {
        quint64 streaming = 0;
        {
            const std::lock_guard lock(shared.mutex);
            streaming = shared.streaming;
        }
        shared.endPlay(streaming);
        break;
    }
    case GST_MESSAGE_ERROR: {
        shared.noteError(message);
        quint64 latest = 0;
        {
            const std::lock_guard lock(shared.mutex);
            latest = shared.play;
        }
        shared.endPlay(latest);
        break;
    }
    default:
        break;
    }
    // Nobody reads the bus: dropping keeps its queue from growing. A dropped
    // message is ours to release, and it holds its pipeline alive.
    gst_message_unref(message);
    return GST_BUS_DROP;
}

void GstChannel::reportEnd(quint64 play)
{
    {
        const std::lock_guard lock(m_shared->mutex);
        if (play != m_shared->play) {
            return; // a later play has begun meanwhile
        }
    }
    emit ended();
}

bool GstChannel::playFromStart()
{
    if (!m_pipeline) {
        return false;
    }
    quint64 play = 0;
    {
        const std::lock_guard lock(m_shared->mutex);
        if (m_shared->stream == Shared::Stream::Failed) {
            return false;
        }
        play = ++m_shared->play;
        m_shared->playing = true;
    }
    if (m_played) {
        // Rewinding with a flush also stops the streaming threads from
        // finishing the earlier play.
        const bool rewound = gst_element_seek_simple(m_pipeline.get(), GST_FORMAT_TIME,
                                                     GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), 0);
        if (!rewound) {
            // A stream that cannot seek starts over from a stopped pipeline.
            gst_element_set_state(m_pipeline.get(), GST_STATE_READY);
        }
    }
    m_played = true;
    {
        // From here on the end of the stream is the end of this play.
        const std::lock_guard lock(m_shared->mutex);
        m_shared->streaming = play;
    }
    if (gst_element_set_state(m_pipeline.get(), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        m_shared->endPlay(play);
        return false;
    }
    return true;
}

void GstChannel::stop()
{
    if (m_pipeline) {
        gst_element_set_state(m_pipeline.get(), GST_STATE_PAUSED);
    }
    {
        const std::lock_guard lock(m_shared->mutex);
        m_shared->playing = false;
    }
    m_shared->changed.notify_all();
    emit ended();
}

bool GstChannel::isPlaying() const
{
    const std::lock_guard lock(m_shared->mutex);
    return m_shared->playing;
}

bool GstChannel::hasStalled(std::chrono::milliseconds waited) const
{
    gint64 length = -1;
    if (m_pipeline && gst_element_query_duration(m_pipeline.get(), GST_FORMAT_TIME, &length) && length >= 0) {
        return waited > std::chrono::nanoseconds(length) + StallMargin;
    }
    return waited > UnknownLengthLimit;
}

bool GstChannel::giveUp(std::chrono::milliseconds waited)
{
    {
        const std::lock_guard lock(m_shared->mutex);
        if (!m_shared->playing) {
            return false;
        }
        m_shared->playing = false;
        qCWarning(lcSound, "Stopped waiting for %s: it has not ended after %.1f s; the audio output may have stalled",
                  qUtf8Printable(m_shared->path), std::chrono::duration<double>(waited).count());
    }
    m_shared->changed.notify_all();
    emit ended();
    return true;
}

bool GstChannel::waitForEnd()
{
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        {
            std::unique_lock lock(m_shared->mutex);
            if (m_shared->changed.wait_for(lock, StallCheckInterval, [this] { return !m_shared->playing; })) {
                return true;
            }
        }
        const auto waited =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
        if (hasStalled(waited)) {
            return !giveUp(waited);
        }
    }
}
