# Tests of the fare data, route setting and what the board shows.
tavelo_add_test(NAME tst_Hy3File SOURCES fare/tst_Hy3File.cpp fare/FareFiles.h LIBS tavelo_core)
tavelo_add_test(NAME tst_FareRoute SOURCES fare/tst_FareRoute.cpp fare/FareFiles.h LIBS tavelo_core)
tavelo_add_test(NAME tst_FareBoard SOURCES fare/tst_FareBoard.cpp fare/FareFiles.h LIBS tavelo_core)
tavelo_add_test(NAME tst_OperationStatus SOURCES fare/tst_OperationStatus.cpp fare/FareFiles.h sound/FakeSpeech.h LIBS tavelo_core)
# The running bus without windows, on fake sound, speech and time.
tavelo_add_test(NAME tst_BusOperation SOURCES fare/tst_BusOperation.cpp fare/FareFiles.h sound/FakeSpeech.h
    fakes/FakeMultimedia.cpp fakes/FakeMultimedia.h LIBS tavelo_core)
tavelo_add_test(NAME tst_FareCsv SOURCES fare/tst_FareCsv.cpp fare/FareFiles.h LIBS tavelo_core)
tavelo_add_test(NAME tst_SampleRoutes SOURCES fare/tst_SampleRoutes.cpp LIBS tavelo_core)
target_compile_definitions(tst_SampleRoutes PRIVATE TAVELO_SAMPLES_DIR="${PROJECT_SOURCE_DIR}/samples")

# The committed demo data never drifts from its route sources.
add_test(NAME tst_SampleFares COMMAND ${CMAKE_COMMAND}
    -DHY3TOOL=$<TARGET_FILE:hy3tool> -DSAMPLES=${PROJECT_SOURCE_DIR}/samples
    -DWORK=${CMAKE_CURRENT_BINARY_DIR}/sample_fares
    -P ${CMAKE_CURRENT_LIST_DIR}/CheckSampleFares.cmake)

add_test(NAME tst_Hy3ToolWarnings COMMAND ${CMAKE_COMMAND}
    -DHY3TOOL=$<TARGET_FILE:hy3tool> -DWORK=${CMAKE_CURRENT_BINARY_DIR}/hy3tool_warnings
    -P ${CMAKE_CURRENT_LIST_DIR}/CheckHy3ToolWarnings.cmake)

# The control panel's tests.
include(${CMAKE_CURRENT_LIST_DIR}/panel.cmake OPTIONAL)
