qt_add_executable(bench_display ${CMAKE_CURRENT_LIST_DIR}/bench_display.cpp)
target_link_libraries(bench_display PRIVATE tavelo_fakes)
add_custom_target(run_bench_display
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:bench_display>
    DEPENDS bench_display
    USES_TERMINAL)
add_dependencies(bench run_bench_display)
