qt_add_executable(bench_panel ${CMAKE_CURRENT_LIST_DIR}/bench_panel.cpp)
target_include_directories(bench_panel PRIVATE ${CMAKE_SOURCE_DIR}/tests/fare)
target_link_libraries(bench_panel PRIVATE tavelo_fakes)
tavelo_add_benchmark(bench_panel ENV QT_QPA_PLATFORM=offscreen TAVELO_AUDIO_SINK=fake)
