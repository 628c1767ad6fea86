# Benchmarks of the stop-name strip: drawing a long name, and the processor
# time a scrolling name costs.
qt_add_executable(bench_stopname ${CMAKE_CURRENT_LIST_DIR}/bench_stopname.cpp)
target_link_libraries(bench_stopname PRIVATE tavelo_ui)
tavelo_add_benchmark(bench_stopname ENV QT_QPA_PLATFORM=offscreen)
