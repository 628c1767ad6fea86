# Tests of the control panel.
tavelo_add_test(NAME tst_KeypadEntry SOURCES fare/tst_KeypadEntry.cpp LIBS tavelo_core)
tavelo_add_test(NAME tst_frmCtl SOURCES fare/tst_frmCtl.cpp fare/PanelFixture.h LIBS tavelo_fakes)
# The remote interface's view of the board is checked against the board.
tavelo_add_test(NAME tst_PanelEndToEnd SOURCES fare/tst_PanelEndToEnd.cpp fare/PanelFixture.h LIBS tavelo_fakes tavelo_remote)
tavelo_add_test(NAME tst_Accessibility SOURCES fare/tst_Accessibility.cpp fare/PanelFixture.h LIBS tavelo_fakes)
