target_sources(tavelo_core PRIVATE
    src/controls/PropertyBag.cpp src/controls/PropertyBag.h
    src/controls/ColorRef.h
    src/controls/Companion.h
    src/controls/DegitFormat.cpp src/controls/DegitFormat.h
)
target_sources(tavelo_ui PRIVATE
    src/controls/SevenSegmentGlyphs.cpp src/controls/SevenSegmentGlyphs.h
    src/controls/M_Degit.cpp src/controls/M_Degit.h
)
# The stop-name display lists its own sources.
include(${CMAKE_CURRENT_LIST_DIR}/stopname.cmake OPTIONAL)
