#include "GstAudio.h"

#include "GstPtr.h"
#include "SoundLog.h"

#include <QByteArray>
#include <QtGlobal>

#include <gst/gst.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <optional>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace GstAudio {

namespace {

constexpr int LargeBlockBytes = 1024 * 1024;

GstElement *makeFakeSink()
{
    GstElement *sink = gst_element_factory_make("fakesink", nullptr);
    if (sink) {
        g_object_set(sink, "sync", TRUE, nullptr);
    }
    return sink;
}

// Runs `probe` with standard error sent to /dev/null. Asked for a device
// that is not there, ALSA and OpenAL print a dozen lines of their own; the
// program says what matters itself, in one line.
bool withoutBackendNoise(bool (*probe)())
{
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (saved >= 0 && null >= 0) {
        dup2(null, STDERR_FILENO);
    }
    const bool result = probe();
    std::fflush(stderr);
    if (saved >= 0) {
        dup2(saved, STDERR_FILENO);
        close(saved);
    }
    if (null >= 0) {
        close(null);
    }
    return result;
}

// Whether autoaudiosink finds a real output rather than its own fakesink.
bool probeAudioDevice()
{
    const GstObjectPtr<GstElement> probe = adoptFloating(gst_element_factory_make("autoaudiosink", nullptr));
    if (!probe) {
        return false;
    }
    bool real = false;
    if (gst_element_set_state(probe.get(), GST_STATE_READY) != GST_STATE_CHANGE_FAILURE) {
        // autoaudiosink holds the sink it chose as its one child.
        g_autoptr(GstIterator) children = gst_bin_iterate_elements(GST_BIN(probe.get()));
        g_auto(GValue) child = G_VALUE_INIT;
        if (gst_iterator_next(children, &child) == GST_ITERATOR_OK) {
            GstElementFactory *factory = gst_element_get_factory(GST_ELEMENT(g_value_get_object(&child)));
            real = factory && g_strcmp0(GST_OBJECT_NAME(factory), "fakesink") != 0;
        }
    }
    gst_element_set_state(probe.get(), GST_STATE_NULL);
    return real;
}

std::atomic<int> trackedPipelines = 0;

#ifdef __GLIBC__
// Gives the memory of ended pipelines back to the system. glibc keeps what
// GStreamer's streaming threads freed in their arenas: after a few hundred
// quick MIDI plays that is well over a hundred megabytes of SoundFont
// samples, resident for good. Trimming costs some milliseconds and takes the
// arenas' locks, so it runs on a thread of its own once a burst of sounds is
// over, when no pipeline has ended for a moment. It waits for no count to
// reach zero: the speech pipeline lives as long as the program, and each
// channel keeps its last file open.
class MemoryTrimmer
{
public:
    // Lives as long as the process: pipelines may still end while it exits.
    static MemoryTrimmer &instance()
    {
        static MemoryTrimmer *const trimmer = new MemoryTrimmer;
        return *trimmer;
    }

    void pipelineEnded()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_due = std::chrono::steady_clock::now() + QuietPeriod;
        }
        m_changed.notify_one();
    }

private:
    static constexpr auto QuietPeriod = std::chrono::milliseconds(500);

    MemoryTrimmer() { std::thread([this] { run(); }).detach(); }

    [[noreturn]] void run()
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_changed.wait(lock, [this] { return m_due.has_value(); });
            const auto due = *m_due;
            // Another pipeline ending meanwhile puts the trim off again.
            if (m_changed.wait_until(lock, due, [this, due] { return m_due != due; })) {
                continue;
            }
            m_due.reset();
            lock.unlock();
            malloc_trim(0);
            lock.lock();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::optional<std::chrono::steady_clock::time_point> m_due;
};
#endif

void forgetPipeline(gpointer, GObject *)
{
    --trackedPipelines;
#ifdef __GLIBC__
    MemoryTrimmer::instance().pipelineEnded();
#endif
}

} // namespace

bool hasAudioDevice()
{
    // Asked once: each probe costs time.
    static const bool found = [] {
        const bool real = initialise() && withoutBackendNoise(probeAudioDevice);
        if (!real) {
            qCWarning(lcSound, "Sound is off: no audio output device was found.");
        }
        return real;
    }();
    return found;
}

bool fakeSinkRequested()
{
    return qgetenv("TAVELO_AUDIO_SINK") == "fake";
}

bool initialise()
{
    static const bool started = [] {
        if (fakeSinkRequested()) {
            // Keep the audio back-ends' chatter about missing devices quiet.
            qputenv("ALSA_CONFIG_PATH", "/dev/null");
            qputenv("ALSOFT_LOGLEVEL", "0");
        }
#ifdef __GLIBC__
        // Every MIDI synthesiser loads its SoundFont's samples anew, a few
        // megabytes, on one of GStreamer's short-lived threads. Blocks that
        // large get mappings of their own, given back when freed; glibc's
        // adaptive threshold would otherwise soon place them in the threads'
        // arenas, where the freed samples stay resident.
        mallopt(M_MMAP_THRESHOLD, LargeBlockBytes);
#endif
        g_autoptr(GError) error = nullptr;
        const bool ok = gst_init_check(nullptr, nullptr, &error);
        if (!ok) {
            qCWarning(lcSound, "GStreamer cannot start: %s", error ? error->message : "no reason given");
        }
        return ok;
    }();
    return started;
}

GstElement *makeAudioSink()
{
    if (!initialise()) {
        return nullptr;
    }
    const QByteArray requested = qgetenv("TAVELO_AUDIO_SINK");
    if (requested == "fake" || (requested.isEmpty() && !hasAudioDevice())) {
        return makeFakeSink();
    }
    if (requested.isEmpty()) {
        GstElement *sink = gst_element_factory_make("autoaudiosink", nullptr);
        return sink ? sink : makeFakeSink();
    }
    g_autoptr(GError) error = nullptr;
    GstElement *sink = gst_parse_launch_full(requested.constData(), nullptr, GST_PARSE_FLAG_FATAL_ERRORS, &error);
    if (!sink) {
        // Said once: every sound asks for a sink.
        static std::once_flag warned;
        std::call_once(warned, [&error, &requested] {
            qCWarning(lcSound, "Cannot make the audio sink \"%s\": %s; sound goes to a silent sink",
                      requested.constData(), error ? error->message : "no reason given");
        });
        return makeFakeSink();
    }
    return sink;
}

void trackPipeline(GstElement *pipeline)
{
    ++trackedPipelines;
    g_object_weak_ref(G_OBJECT(pipeline), &forgetPipeline, nullptr);
}

int livePipelines()
{
    return trackedPipelines;
}

} // namespace GstAudio
