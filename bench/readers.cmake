qt_add_executable(bench_readers ${CMAKE_CURRENT_LIST_DIR}/bench_readers.cpp)
target_link_libraries(bench_readers PRIVATE tavelo_core)
add_custom_target(run_bench_readers COMMAND $<TARGET_FILE:bench_readers> DEPENDS bench_readers
    USES_TERMINAL)
add_dependencies(bench run_bench_readers)
