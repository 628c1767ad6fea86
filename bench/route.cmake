qt_add_executable(bench_route ${CMAKE_CURRENT_LIST_DIR}/bench_route.cpp)
target_link_libraries(bench_route PRIVATE tavelo_core)
tavelo_add_benchmark(bench_route COMMENT "Benchmark: GTFS import and rebuilding a route")
