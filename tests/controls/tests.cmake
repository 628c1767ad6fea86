# Tests of src/controls.
include(${CMAKE_CURRENT_LIST_DIR}/stopname.cmake OPTIONAL)
