# Following the bus by its position.
tavelo_add_test(NAME tst_GpsStopTracker SOURCES run/tst_GpsStopTracker.cpp LIBS tavelo_core)
tavelo_add_test(NAME tst_TrackReplay SOURCES run/tst_TrackReplay.cpp run/NmeaSentence.h run/FakeClock.h LIBS tavelo_core)
# Against the real daemon, fed NMEA over a loopback socket; skipped where it
# cannot start.
tavelo_add_test(NAME tst_GpsdFixSource SOURCES run/tst_GpsdFixSource.cpp run/NmeaSentence.h
    LIBS tavelo_core Qt6::Network)
target_compile_definitions(tst_GpsdFixSource PRIVATE GPSD_PROGRAM="/usr/sbin/gpsd")
# Runs of the bus by a position moved by hand, on fake sound, speech and time.
tavelo_add_test(NAME tst_GpsRun SOURCES run/tst_GpsRun.cpp run/RunBus.h run/FakeClock.h fare/FareFiles.h
    sound/FakeSpeech.h fakes/FakeMultimedia.cpp fakes/FakeMultimedia.h LIBS tavelo_core)
