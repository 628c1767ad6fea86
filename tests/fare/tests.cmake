# Tests of the fare data, route setting and what the board shows.
tavelo_add_test(NAME tst_Hy3File SOURCES fare/tst_Hy3File.cpp fare/FareFiles.h LIBS tavelo_core)
tavelo_add_test(NAME tst_FareRoute SOURCES fare/tst_FareRoute.cpp fare/FareFiles.h LIBS tavelo_core)
tavelo_add_test(NAME tst_FareBoard SOURCES fare/tst_FareBoard.cpp fare/FareFiles.h LIBS tavelo_core)
