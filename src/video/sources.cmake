# Recording what the program shows and plays into a video file: the
# encoder, the sound of a recording, and the clock it is made on. No widgets:
# the painting of the frames is handed in.
target_sources(tavelo_core PRIVATE
    src/video/MediaSink.h
    src/video/VideoEncoder.cpp src/video/VideoEncoder.h
    src/video/SoundTimeline.cpp src/video/SoundTimeline.h
    src/video/SoundDecoder.cpp src/video/SoundDecoder.h
    src/video/RecordingClock.cpp src/video/RecordingClock.h
    src/video/TimelineSound.cpp src/video/TimelineSound.h
    src/video/TimelineSpeech.cpp src/video/TimelineSpeech.h
    src/video/RecordingTimeline.cpp src/video/RecordingTimeline.h
    src/video/SoundTap.cpp src/video/SoundTap.h
    src/video/RenderScript.h
    src/video/AnnouncementScript.cpp src/video/AnnouncementScript.h
    src/video/TimetableScript.cpp src/video/TimetableScript.h
    src/video/OfflineRender.cpp src/video/OfflineRender.h
)
# The services a recording hands the program in place of the desktop's: its
# sounds and words go into the recording's time line.
target_sources(tavelo_ui PRIVATE
    src/video/RecordingPlatform.cpp src/video/RecordingPlatform.h
)
