# Tests of src/sound.
include(${CMAKE_CURRENT_LIST_DIR}/playback.cmake OPTIONAL)
include(${CMAKE_CURRENT_LIST_DIR}/speech.cmake OPTIONAL)
