# Benchmark of sound playback: how long an asynchronous PlaySnd takes.
qt_add_executable(bench_playback EXCLUDE_FROM_ALL ${CMAKE_CURRENT_LIST_DIR}/bench_playback.cpp)
target_link_libraries(bench_playback PRIVATE tavelo_core)
target_compile_definitions(bench_playback PRIVATE TAVELO_SAMPLES_DIR="${PROJECT_SOURCE_DIR}/samples")
tavelo_add_benchmark(bench_playback ENV TAVELO_AUDIO_SINK=fake)
