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
# An announcement that cannot be synthesised is an error, not a silent file.
file(GLOB ESPEAK_DATA /usr/lib/*/espeak-ng-data /usr/share/espeak-ng-data)
list(GET ESPEAK_DATA 0 ESPEAK_DATA)
add_test(NAME tptool_reports_silent_synthesis COMMAND ${CMAKE_COMMAND}
    -DTPTOOL=$<TARGET_FILE:tptool> -DESPEAK_DATA=${ESPEAK_DATA}
    -DWORK=${CMAKE_CURRENT_BINARY_DIR}/tptool_silence
    -P ${CMAKE_CURRENT_LIST_DIR}/CheckTptoolSilence.cmake)
