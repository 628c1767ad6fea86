#pragma once

typedef struct _GstElement GstElement;

// What every GStreamer pipeline of the program shares: start-up of the
// library and the choice of audio output.
namespace GstAudio {

// Initialises GStreamer once; false when it cannot start.
bool initialise();

// A new audio sink. TAVELO_AUDIO_SINK picks one: "fake" gives a fakesink that
// still runs in real time (for tests and machines without a sound card), any
// other value names a GStreamer element, with properties if wanted
// ("alsasink device=hw:1"); unset, autoaudiosink. Falls back to the
// real-time fakesink when the chosen element cannot be made.
GstElement *makeAudioSink();

// Whether there is a real audio output. Asked once; without one, says so in
// one line on standard error.
bool hasAudioDevice();

// True when the quiet, real-time fake sink was asked for.
bool fakeSinkRequested();

// Counts `pipeline` among the live pipelines until it is finalised.
void trackPipeline(GstElement *pipeline);

// How many of the tracked pipelines still exist: a pipeline that outlives
// its sound has leaked.
int livePipelines();

} // namespace GstAudio
