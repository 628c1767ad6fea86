qt_add_executable(bench_display ${CMAKE_CURRENT_LIST_DIR}/bench_display.cpp)
target_link_libraries(bench_display PRIVATE tavelo_fakes)
tavelo_add_benchmark(bench_display ENV QT_QPA_PLATFORM=offscreen)

qt_add_executable(bench_lcd ${CMAKE_CURRENT_LIST_DIR}/bench_lcd.cpp)
target_link_libraries(bench_lcd PRIVATE tavelo_core)
tavelo_add_benchmark(bench_lcd ENV QT_QPA_PLATFORM=offscreen)
