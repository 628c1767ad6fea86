# Benchmark of a long day of sound: threads, open files and memory must not
# grow with the number of sounds and announcements played.
qt_add_executable(bench_sound_leaks EXCLUDE_FROM_ALL ${CMAKE_CURRENT_LIST_DIR}/bench_sound_leaks.cpp)
target_link_libraries(bench_sound_leaks PRIVATE tavelo_core)
target_compile_definitions(bench_sound_leaks PRIVATE TAVELO_SAMPLES_DIR="${PROJECT_SOURCE_DIR}/samples")
tavelo_add_benchmark(bench_sound_leaks ENV TAVELO_AUDIO_SINK=fakesink G_SLICE=always-malloc
    COMMENT "Benchmark: growth over a long day of sounds and announcements")
