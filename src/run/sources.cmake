# The bus running by itself: the run clock, the departure sequence, runs
# by the timetable, and the one run the bus may have. No windows.
target_sources(tavelo_core PRIVATE
    src/run/MonotonicClock.h
    src/run/SteadyClock.cpp src/run/SteadyClock.h
    src/run/RunClock.cpp src/run/RunClock.h
    src/run/RunLog.cpp src/run/RunLog.h
    src/run/DepartureSequence.cpp src/run/DepartureSequence.h
    src/run/BusRun.cpp src/run/BusRun.h
    src/run/TripSchedule.h
    src/run/RouteTrips.cpp src/run/RouteTrips.h
    src/run/TimetableRun.cpp src/run/TimetableRun.h
    src/run/RunSlot.cpp src/run/RunSlot.h
)
