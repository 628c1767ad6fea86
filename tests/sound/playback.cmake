# Tests of sound playback.
tavelo_add_test(NAME tst_mdlSndAPI SOURCES sound/tst_mdlSndAPI.cpp LIBS tavelo_fakes)
tavelo_add_test(NAME tst_CommandString SOURCES sound/tst_CommandString.cpp LIBS tavelo_core)
tavelo_add_test(NAME tst_GstCommandInterpreter SOURCES sound/tst_GstCommandInterpreter.cpp LIBS tavelo_core)
target_compile_definitions(tst_GstCommandInterpreter PRIVATE TAVELO_SAMPLES_DIR="${PROJECT_SOURCE_DIR}/samples")
tavelo_gstreamer_test(tst_GstCommandInterpreter)
