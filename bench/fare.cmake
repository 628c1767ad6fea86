qt_add_executable(bench_fare ${CMAKE_CURRENT_LIST_DIR}/bench_fare.cpp)
target_link_libraries(bench_fare PRIVATE tavelo_fakes)
tavelo_add_benchmark(bench_fare ENV QT_QPA_PLATFORM=offscreen)
