qt_add_executable(bench_run ${CMAKE_CURRENT_LIST_DIR}/bench_run.cpp)
target_include_directories(bench_run PRIVATE ${CMAKE_SOURCE_DIR}/tests/fare)
target_link_libraries(bench_run PRIVATE tavelo_fakes)
tavelo_add_benchmark(bench_run ENV QT_QPA_PLATFORM=offscreen TAVELO_AUDIO_SINK=fake
    COMMENT "Benchmark: how late a run by the timetable steps the board, at 60 times on 20 stops")
