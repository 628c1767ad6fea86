qt_add_executable(bench_remote ${CMAKE_CURRENT_LIST_DIR}/bench_remote.cpp)
target_include_directories(bench_remote PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/tests/fare)
target_link_libraries(bench_remote PRIVATE tavelo_fakes tavelo_remote)
add_custom_target(run_bench_remote
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen TAVELO_AUDIO_SINK=fake $<TARGET_FILE:bench_remote>
    DEPENDS bench_remote
    USES_TERMINAL)
add_dependencies(bench run_bench_remote)
