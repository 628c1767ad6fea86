qt_add_executable(bench_panel ${CMAKE_CURRENT_LIST_DIR}/bench_panel.cpp)
target_include_directories(bench_panel PRIVATE ${CMAKE_SOURCE_DIR}/tests/fare)
target_link_libraries(bench_panel PRIVATE tavelo_fakes)
add_custom_target(run_bench_panel
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen TAVELO_AUDIO_SINK=fake $<TARGET_FILE:bench_panel>
    DEPENDS bench_panel
    USES_TERMINAL)
add_dependencies(bench run_bench_panel)
