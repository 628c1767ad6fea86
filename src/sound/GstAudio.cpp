#include "GstAudio.h"

#include <QByteArray>
#include <QtGlobal>

#include <gst/gst.h>

namespace GstAudio {

namespace {

GstElement *makeFakeSink()
{
    GstElement *sink = gst_element_factory_make("fakesink", nullptr);
    if (sink) {
        g_object_set(sink, "sync", TRUE, nullptr);
    }
    return sink;
}

} // namespace

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
        GError *error = nullptr;
        const bool ok = gst_init_check(nullptr, nullptr, &error);
        if (error) {
            g_error_free(error);
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
    if (requested == "fake") {
        return makeFakeSink();
    }
    const char *factory = requested.isEmpty() ? "autoaudiosink" : requested.constData();
    GstElement *sink = gst_element_factory_make(factory, nullptr);
    return sink ? sink : makeFakeSink();
}

} // namespace GstAudio
