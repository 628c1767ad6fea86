# Tests of src/display.
tavelo_add_test(NAME tst_Board SOURCES display/tst_Board.cpp LIBS tavelo_core)
tavelo_add_test(NAME tst_Form1 SOURCES display/tst_Form1.cpp LIBS tavelo_fakes)
# A laptop's 1280 x 800 screen, on which the display's scales stop at 125 %.
set_tests_properties(tst_Form1 PROPERTIES ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen:configfile=${CMAKE_CURRENT_LIST_DIR}/offscreen-1280x800.json;TAVELO_AUDIO_SINK=fake")
tavelo_add_test(NAME tst_DisplayScale SOURCES display/tst_DisplayScale.cpp LIBS tavelo_core)
tavelo_add_test(NAME tst_SessionEndWatcher SOURCES display/tst_SessionEndWatcher.cpp LIBS tavelo_ui)
tavelo_add_test(NAME tst_SingleInstanceGuard SOURCES display/tst_SingleInstanceGuard.cpp LIBS tavelo_ui)
# The LCD look, on the real windows and fake platform services.
tavelo_add_test(NAME tst_LcdFareDisplay SOURCES display/tst_LcdFareDisplay.cpp fare/PanelFixture.h LIBS tavelo_fakes tavelo_remote)
