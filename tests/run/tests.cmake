# Runs of the bus by the timetable, on fake sound, speech and time.
tavelo_add_test(NAME tst_TimetableRun SOURCES run/tst_TimetableRun.cpp run/RunBus.h run/FakeClock.h fare/FareFiles.h sound/FakeSpeech.h
    fakes/FakeMultimedia.cpp fakes/FakeMultimedia.h LIBS tavelo_core)
