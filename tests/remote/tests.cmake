# The remote interface, against the real windows offscreen, and r57ctl.
tavelo_add_test(NAME tst_RemoteInterface SOURCES remote/tst_RemoteInterface.cpp remote/RemoteFixture.h
    LIBS tavelo_fakes tavelo_remote)
tavelo_add_test(NAME tst_R57Ctl SOURCES remote/tst_R57Ctl.cpp remote/RemoteFixture.h
    LIBS tavelo_fakes tavelo_remote)
target_compile_definitions(tst_R57Ctl PRIVATE R57CTL="$<TARGET_FILE:r57ctl>")
add_dependencies(tst_R57Ctl r57ctl)
tavelo_add_test(NAME tst_RemoteAddress SOURCES remote/tst_RemoteAddress.cpp LIBS tavelo_remote)
# Who owns a loopback connection, told by the real kernel.
tavelo_add_test(NAME tst_LoopbackPeer SOURCES remote/tst_LoopbackPeer.cpp LIBS tavelo_remote)

# A real browser loads the pages from the running program.
add_test(NAME tst_RemoteBrowser
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/check-browser.sh $<TARGET_FILE:R57> $<TARGET_FILE:r57ctl>
        ${PROJECT_SOURCE_DIR}/samples ${CMAKE_BINARY_DIR}/remote-screenshots)
set_tests_properties(tst_RemoteBrowser PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77)

# The QR code of the address, read back by a real reader.
if(NOT TARGET PkgConfig::ZBAR)
    pkg_check_modules(ZBAR REQUIRED IMPORTED_TARGET zbar)
endif()
tavelo_add_test(NAME tst_QrCode SOURCES remote/tst_QrCode.cpp LIBS tavelo_remote PkgConfig::ZBAR)

# The route editor's link to the real program.
tavelo_add_test(NAME tst_RouteEditorLink SOURCES remote/tst_RouteEditorLink.cpp LIBS tavelo_ui)
target_compile_definitions(tst_RouteEditorLink PRIVATE R57_PATH="$<TARGET_FILE:R57>"
    SAMPLES="${PROJECT_SOURCE_DIR}/samples")
add_dependencies(tst_RouteEditorLink R57)
tavelo_gstreamer_test(tst_RouteEditorLink)
