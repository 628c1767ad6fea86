# Tests of src/companion.
tavelo_add_test(NAME tst_Cp932 SOURCES companion/tst_Cp932.cpp LIBS tavelo_core)
tavelo_add_test(NAME tst_QtCompanion SOURCES companion/tst_QtCompanion.cpp LIBS tavelo_ui)
