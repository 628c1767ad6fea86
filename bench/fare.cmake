qt_add_executable(bench_fare ${CMAKE_CURRENT_LIST_DIR}/bench_fare.cpp)
target_link_libraries(bench_fare PRIVATE tavelo_fakes)
add_custom_target(run_bench_fare
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:bench_fare>
    DEPENDS bench_fare
    USES_TERMINAL)
add_dependencies(bench run_bench_fare)
