# Programs for the people who write route data and ticket descriptions. They
# use the route sources, the running bus and the tickets alike, so they sit
# above all of them rather than inside one.

# hy3tool: dumps, builds and checks fare data files for their authors.
qt_add_executable(hy3tool src/tools/hy3tool/main.cpp
    src/tools/hy3tool/RouteCommands.cpp src/tools/hy3tool/RouteCommands.h)
target_link_libraries(hy3tool PRIVATE tavelo_core)

# tickettool: checks and draws ticket descriptions for the people who write them.
qt_add_executable(tickettool src/tools/tickettool/main.cpp)
target_link_libraries(tickettool PRIVATE tavelo_ui)
