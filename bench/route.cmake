qt_add_executable(bench_route ${CMAKE_CURRENT_LIST_DIR}/bench_route.cpp)
target_link_libraries(bench_route PRIVATE tavelo_core)
add_custom_target(run_bench_route COMMAND $<TARGET_FILE:bench_route> DEPENDS bench_route USES_TERMINAL)
add_dependencies(bench run_bench_route)
