# Tests of src/display.
tavelo_add_test(NAME tst_Board SOURCES display/tst_Board.cpp LIBS tavelo_core)
tavelo_add_test(NAME tst_Form1 SOURCES display/tst_Form1.cpp LIBS tavelo_fakes)
tavelo_add_test(NAME tst_DisplayScale SOURCES display/tst_DisplayScale.cpp LIBS tavelo_core)
tavelo_add_test(NAME tst_SessionEndWatcher SOURCES display/tst_SessionEndWatcher.cpp LIBS tavelo_ui)
tavelo_add_test(NAME tst_SingleInstanceGuard SOURCES display/tst_SingleInstanceGuard.cpp LIBS tavelo_ui)
