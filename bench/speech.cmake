# Benchmarks of the announcements.
qt_add_executable(bench_speech ${CMAKE_CURRENT_LIST_DIR}/bench_speech.cpp)
target_link_libraries(bench_speech PRIVATE tavelo_core)
target_compile_definitions(bench_speech PRIVATE SPEECH_NAMES="${CMAKE_CURRENT_LIST_DIR}/speech_names.txt")
add_custom_target(run_bench_speech
    COMMAND ${CMAKE_COMMAND} -E env TAVELO_AUDIO_SINK=fake $<TARGET_FILE:bench_speech>
    DEPENDS bench_speech
    COMMENT "Benchmark: hard names read right; announcement step to first speech sample"
    USES_TERMINAL)
add_dependencies(bench run_bench_speech)
