pkg_check_modules(GST REQUIRED IMPORTED_TARGET gstreamer-1.0 gstreamer-app-1.0 gstreamer-audio-1.0)
target_link_libraries(tavelo_core PUBLIC PkgConfig::GST)
target_sources(tavelo_core PRIVATE
    src/sound/GstAudio.cpp src/sound/GstAudio.h
    src/sound/GstPtr.h
    src/sound/SoundLog.cpp src/sound/SoundLog.h
)
# Sound playback and announcements with speech list their own sources.
include(${CMAKE_CURRENT_LIST_DIR}/playback.cmake OPTIONAL)
include(${CMAKE_CURRENT_LIST_DIR}/speech.cmake OPTIONAL)
