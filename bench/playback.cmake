# Benchmark of sound playback: how long an asynchronous PlaySnd takes.
qt_add_executable(bench_playback EXCLUDE_FROM_ALL ${CMAKE_CURRENT_LIST_DIR}/bench_playback.cpp)
target_link_libraries(bench_playback PRIVATE tavelo_core)
target_compile_definitions(bench_playback PRIVATE TAVELO_SAMPLES_DIR="${PROJECT_SOURCE_DIR}/samples")
add_custom_target(run_bench_playback
    COMMAND ${CMAKE_COMMAND} -E env TAVELO_AUDIO_SINK=fake $<TARGET_FILE:bench_playback>
    DEPENDS bench_playback
    USES_TERMINAL)
add_dependencies(bench run_bench_playback)
