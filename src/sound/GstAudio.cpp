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

// Whether autoaudiosink finds a real output. Asked once: each probe costs
// time, and the audio back-ends complain on stderr when there is no device.
bool hasAudioDevice()
{
    static const bool found = [] {
        GstElement *probe = gst_element_factory_make("autoaudiosink", nullptr);
        if (!probe) {
            return false;
        }
        gst_object_ref_sink(probe);
        bool real = false;
        if (gst_element_set_state(probe, GST_STATE_READY) != GST_STATE_CHANGE_FAILURE) {
            // autoaudiosink holds the sink it chose as its one child.
            GstIterator *children = gst_bin_iterate_elements(GST_BIN(probe));
            GValue child = G_VALUE_INIT;
            if (gst_iterator_next(children, &child) == GST_ITERATOR_OK) {
                GstElementFactory *factory = gst_element_get_factory(GST_ELEMENT(g_value_get_object(&child)));
                real = factory && g_strcmp0(GST_OBJECT_NAME(factory), "fakesink") != 0;
                g_value_unset(&child);
            }
            gst_iterator_free(children);
        }
        gst_element_set_state(probe, GST_STATE_NULL);
        gst_object_unref(probe);
        return real;
    }();
    return found;
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
    if (requested == "fake" || (requested.isEmpty() && !hasAudioDevice())) {
        return makeFakeSink();
    }
    const char *factory = requested.isEmpty() ? "autoaudiosink" : requested.constData();
    GstElement *sink = gst_element_factory_make(factory, nullptr);
    return sink ? sink : makeFakeSink();
}

} // namespace GstAudio
