# Tests of the stop-name strip.
tavelo_add_test(NAME tst_Dot16Glyphs SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_Dot16Glyphs.cpp LIBS tavelo_core)
tavelo_add_test(NAME tst_Dot16CellRules SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_Dot16CellRules.cpp LIBS tavelo_core)
tavelo_add_test(NAME tst_ScrollMotion SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_ScrollMotion.cpp LIBS tavelo_core)
tavelo_add_test(NAME tst_ChimeiCtl_B SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_ChimeiCtl_B.cpp LIBS tavelo_ui)
