# Tests of what every program shares at its start.
tavelo_add_test(NAME tst_ProgramCommandLine SOURCES app/tst_ProgramCommandLine.cpp LIBS tavelo_core)
tavelo_add_test(NAME tst_QtJapanese SOURCES app/tst_QtJapanese.cpp LIBS tavelo_ui)
