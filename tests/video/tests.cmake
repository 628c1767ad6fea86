# Tests of src/video.
tavelo_add_test(NAME tst_RecordingTimeline SOURCES video/tst_RecordingTimeline.cpp LIBS tavelo_core)
tavelo_gstreamer_test(tst_RecordingTimeline)
tavelo_add_test(NAME tst_VideoEncoder SOURCES video/tst_VideoEncoder.cpp LIBS tavelo_core)
tavelo_gstreamer_test(tst_VideoEncoder)
tavelo_add_test(NAME tst_BoardFramePainter SOURCES video/tst_BoardFramePainter.cpp LIBS tavelo_fakes)
tavelo_add_test(NAME tst_TimetableScript SOURCES video/tst_TimetableScript.cpp fare/FareFiles.h LIBS tavelo_core)
tavelo_gstreamer_test(tst_TimetableScript)
