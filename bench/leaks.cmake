# Benchmark of a long day of sound: threads, open files and memory must not
# grow with the number of sounds and announcements played.
qt_add_executable(bench_sound_leaks EXCLUDE_FROM_ALL ${CMAKE_CURRENT_LIST_DIR}/bench_sound_leaks.cpp)
target_link_libraries(bench_sound_leaks PRIVATE tavelo_core)
target_compile_definitions(bench_sound_leaks PRIVATE TAVELO_SAMPLES_DIR="${PROJECT_SOURCE_DIR}/samples")
add_custom_target(run_bench_sound_leaks
    COMMAND ${CMAKE_COMMAND} -E env TAVELO_AUDIO_SINK=fakesink G_SLICE=always-malloc $<TARGET_FILE:bench_sound_leaks>
    DEPENDS bench_sound_leaks
    COMMENT "Benchmark: growth over a long day of sounds and announcements"
    USES_TERMINAL)
add_dependencies(bench run_bench_sound_leaks)
