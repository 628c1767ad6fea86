# Benchmarks of the announcements.
qt_add_executable(bench_speech ${CMAKE_CURRENT_LIST_DIR}/bench_speech.cpp)
target_link_libraries(bench_speech PRIVATE tavelo_core)
target_compile_definitions(bench_speech PRIVATE SPEECH_NAMES="${CMAKE_CURRENT_LIST_DIR}/speech_names.txt")
tavelo_add_benchmark(bench_speech ENV TAVELO_AUDIO_SINK=fake
    COMMENT "Benchmark: hard names read right; announcement step to first speech sample")
