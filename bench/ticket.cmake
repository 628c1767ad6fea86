# Benchmark of the ticket preview: one stop's ticket with a barcode drawn
# through the plug-in bridge, file reading included.
qt_add_executable(bench_ticket ${CMAKE_CURRENT_LIST_DIR}/bench_ticket.cpp)
target_link_libraries(bench_ticket PRIVATE tavelo_ui)
target_compile_definitions(bench_ticket PRIVATE TAVELO_SAMPLES_DIR="${PROJECT_SOURCE_DIR}/samples")
add_custom_target(run_bench_ticket
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:bench_ticket>
    DEPENDS bench_ticket
    USES_TERMINAL)
add_dependencies(bench run_bench_ticket)
