# The stop-name strip: its 16-dot glyphs, layout and scrolling in the core
# library, the control itself with the widgets.
find_package(Freetype REQUIRED)
target_link_libraries(tavelo_core PUBLIC Freetype::Freetype)
target_sources(tavelo_core PRIVATE
    src/controls/Dot16Mask.h
    src/controls/Dot16Glyphs.cpp src/controls/Dot16Glyphs.h
    src/controls/Dot16CellRules.cpp src/controls/Dot16CellRules.h
    src/controls/ChimeiLayout.cpp src/controls/ChimeiLayout.h
    src/controls/ScrollClock.h
    src/controls/SteadyScrollClock.cpp src/controls/SteadyScrollClock.h
    src/controls/ScrollMotion.cpp src/controls/ScrollMotion.h
)
target_sources(tavelo_ui PRIVATE
    src/controls/ChimeiCtl_B.cpp src/controls/ChimeiCtl_B.h
)

# Renders the strip for some names to enlarged PNG files, for looking at.
qt_add_executable(stopname_preview src/controls/stopname_preview.cpp)
target_link_libraries(stopname_preview PRIVATE tavelo_ui)
