# Tests of src/ticket and the plug-in bridge.
tavelo_add_test(NAME tst_TicketPlugin SOURCES ticket/tst_TicketPlugin.cpp LIBS tavelo_core)
target_compile_definitions(tst_TicketPlugin PRIVATE
    TAVELO_SAMPLES_DIR="${PROJECT_SOURCE_DIR}/samples"
    TAVELO_BAD_TICKETS_DIR="${CMAKE_CURRENT_LIST_DIR}/bad")

# Barcodes are read back with a real reader, not one of our own.
pkg_check_modules(ZBAR REQUIRED IMPORTED_TARGET zbar)
tavelo_add_test(NAME tst_TicketDrawing SOURCES ticket/tst_TicketDrawing.cpp LIBS tavelo_ui PkgConfig::ZBAR)
target_compile_definitions(tst_TicketDrawing PRIVATE TAVELO_SAMPLES_DIR="${PROJECT_SOURCE_DIR}/samples")

tavelo_add_test(NAME tst_SeirikenPreview SOURCES ticket/tst_SeirikenPreview.cpp LIBS tavelo_ui)

add_test(NAME tickettool_accepts_the_samples
    COMMAND tickettool check ${PROJECT_SOURCE_DIR}/samples/plain.4SP)
add_test(NAME tickettool_refuses_a_bad_description
    COMMAND tickettool check ${CMAKE_CURRENT_LIST_DIR}/bad/unknown-element.4SP)
set_tests_properties(tickettool_accepts_the_samples tickettool_refuses_a_bad_description
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
set_tests_properties(tickettool_refuses_a_bad_description PROPERTIES WILL_FAIL TRUE)
add_test(NAME tickettool_speaks_japanese_only COMMAND ${CMAKE_COMMAND}
    -DTICKETTOOL=$<TARGET_FILE:tickettool> -DGOOD=${PROJECT_SOURCE_DIR}/samples/full.4SP
    -DBAD=${CMAKE_CURRENT_LIST_DIR}/bad/unknown-element.4SP
    -P ${CMAKE_CURRENT_LIST_DIR}/CheckTickettool.cmake)

tavelo_add_test(NAME tst_PluginSelection SOURCES ticket/tst_PluginSelection.cpp LIBS tavelo_ui tavelo_fakes)
target_compile_definitions(tst_PluginSelection PRIVATE
    TAVELO_SAMPLES_DIR="${PROJECT_SOURCE_DIR}/samples"
    TAVELO_BAD_TICKETS_DIR="${CMAKE_CURRENT_LIST_DIR}/bad")
