qt_add_executable(bench_settings ${CMAKE_CURRENT_LIST_DIR}/bench_settings.cpp)
target_link_libraries(bench_settings PRIVATE tavelo_fakes)
add_custom_target(run_bench_settings
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen TAVELO_AUDIO_SINK=fake $<TARGET_FILE:bench_settings>
    DEPENDS bench_settings
    USES_TERMINAL)
add_dependencies(bench run_bench_settings)
