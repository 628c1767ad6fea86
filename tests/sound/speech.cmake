# Tests of the announcements and the speech engine.
tavelo_add_test(NAME tst_TapeCsv SOURCES sound/tst_TapeCsv.cpp LIBS tavelo_core)
tavelo_add_test(NAME tst_mdlM_Tape SOURCES sound/tst_mdlM_Tape.cpp sound/FakeSpeech.h LIBS tavelo_core)
tavelo_add_test(NAME tst_ReadingDictionary SOURCES sound/tst_ReadingDictionary.cpp LIBS tavelo_core)
tavelo_add_test(NAME tst_KanaReader SOURCES sound/tst_KanaReader.cpp LIBS tavelo_core)
tavelo_add_test(NAME tst_EspeakSpeechEngine SOURCES sound/tst_EspeakSpeechEngine.cpp LIBS tavelo_core)
tavelo_add_test(NAME tst_VoiceDialog SOURCES sound/tst_VoiceDialog.cpp sound/FakeSpeech.h LIBS tavelo_ui)
tavelo_add_test(NAME tst_frmCtlTape SOURCES sound/tst_frmCtlTape.cpp sound/FakeSpeech.h LIBS tavelo_fakes)
# The demo announcements must be a file the program accepts.
add_test(NAME tptool_accepts_demo_announcements COMMAND tptool check ${PROJECT_SOURCE_DIR}/samples/12tp.csv)
tavelo_gstreamer_test(tst_EspeakSpeechEngine)
