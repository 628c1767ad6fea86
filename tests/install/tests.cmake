# Installs into a temporary prefix and checks what a user gets.
add_test(NAME install_layout
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/install/check-install.sh ${CMAKE_BINARY_DIR} ${PROJECT_VERSION})
set_tests_properties(install_layout PROPERTIES TIMEOUT 300)
# The installed program it starts loads GStreamer.
tavelo_gstreamer_test(install_layout)
