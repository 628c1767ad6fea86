# Tests of src/controls.
tavelo_add_test(NAME tst_M_Degit SOURCES controls/tst_M_Degit.cpp controls/DegitReader.h LIBS tavelo_fakes)
include(${CMAKE_CURRENT_LIST_DIR}/stopname.cmake OPTIONAL)
