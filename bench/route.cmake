qt_add_executable(bench_route ${CMAKE_CURRENT_LIST_DIR}/bench_route.cpp)
target_link_libraries(bench_route PRIVATE tavelo_core)
tavelo_add_benchmark(bench_route COMMENT "Benchmark: GTFS import and rebuilding a route")

qt_add_executable(bench_route_editor ${CMAKE_CURRENT_LIST_DIR}/bench_route_editor.cpp)
target_link_libraries(bench_route_editor PRIVATE tavelo_core)
tavelo_add_benchmark(bench_route_editor COMMENT "Benchmark: typing a fare and regenerating the route editor's board")
