qt_add_executable(bench_remote ${CMAKE_CURRENT_LIST_DIR}/bench_remote.cpp)
target_include_directories(bench_remote PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/tests/fare)
target_link_libraries(bench_remote PRIVATE tavelo_fakes tavelo_remote)
# The hostile loads run the real program on the sample route 12.
target_compile_definitions(bench_remote PRIVATE R57_PATH="$<TARGET_FILE:R57>" SAMPLES="${CMAKE_SOURCE_DIR}/samples")
add_dependencies(bench_remote R57)
tavelo_add_benchmark(bench_remote ENV QT_QPA_PLATFORM=offscreen TAVELO_AUDIO_SINK=fake
    COMMENT "Benchmark: the remote interface under load, with twenty board mirrors, and under hostile clients")
