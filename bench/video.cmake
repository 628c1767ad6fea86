# Benchmark of a video render with the real encoders.
qt_add_executable(bench_video ${CMAKE_CURRENT_LIST_DIR}/bench_video.cpp)
target_link_libraries(bench_video PRIVATE tavelo_ui)
target_compile_definitions(bench_video PRIVATE TAVELO_SAMPLES_DIR="${PROJECT_SOURCE_DIR}/samples")
tavelo_add_benchmark(bench_video ENV QT_QPA_PLATFORM=offscreen
    COMMENT "Benchmark: a video render at 1280 x 427, 30 fps, against real time")
