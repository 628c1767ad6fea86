# Following the bus by its position: positions from gpsd or a recorded
# track, and the stops they reach.
pkg_check_modules(LIBGPS REQUIRED IMPORTED_TARGET libgps)
target_link_libraries(tavelo_core PUBLIC PkgConfig::LIBGPS)
target_sources(tavelo_core PRIVATE
    src/run/GeoPoint.cpp src/run/GeoPoint.h
    src/run/PositionFix.h
    src/run/GpsLog.cpp src/run/GpsLog.h
    src/run/FixSource.h
    src/run/GpsdFixSource.cpp src/run/GpsdFixSource.h
    src/run/TrackFile.cpp src/run/TrackFile.h
    src/run/TrackReplaySource.cpp src/run/TrackReplaySource.h
    src/run/GpsStopTracker.cpp src/run/GpsStopTracker.h
    src/run/RouteDrive.cpp src/run/RouteDrive.h
    src/run/GpsRun.cpp src/run/GpsRun.h
)
