# Benchmark of the ticket preview: one stop's ticket with a barcode drawn
# through the plug-in bridge, file reading included.
qt_add_executable(bench_ticket ${CMAKE_CURRENT_LIST_DIR}/bench_ticket.cpp)
target_link_libraries(bench_ticket PRIVATE tavelo_ui)
target_compile_definitions(bench_ticket PRIVATE TAVELO_SAMPLES_DIR="${PROJECT_SOURCE_DIR}/samples")
tavelo_add_benchmark(bench_ticket ENV QT_QPA_PLATFORM=offscreen)
