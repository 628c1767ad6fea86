# Benchmarks of the stop-name strip: drawing a long name, and the processor
# time a scrolling name costs.
qt_add_executable(bench_stopname ${CMAKE_CURRENT_LIST_DIR}/bench_stopname.cpp)
target_link_libraries(bench_stopname PRIVATE tavelo_ui)
add_custom_target(run_bench_stopname
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:bench_stopname>
    DEPENDS bench_stopname
    USES_TERMINAL)
add_dependencies(bench run_bench_stopname)
