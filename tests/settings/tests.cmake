# Tests of src/settings.
tavelo_add_test(NAME tst_frmOption SOURCES settings/tst_frmOption.cpp LIBS tavelo_ui tavelo_fakes)
tavelo_add_test(NAME tst_DisplayLookApplier SOURCES settings/tst_DisplayLookApplier.cpp LIBS tavelo_ui tavelo_fakes)
tavelo_add_test(NAME tst_mdlIniIo SOURCES settings/tst_mdlIniIo.cpp LIBS tavelo_core)
tavelo_add_test(NAME tst_SideSettings SOURCES settings/tst_SideSettings.cpp LIBS tavelo_core)
tavelo_add_test(NAME tst_SettingsFile SOURCES settings/tst_SettingsFile.cpp LIBS tavelo_ui tavelo_fakes)
target_compile_definitions(tst_SettingsFile PRIVATE TAVELO_SAMPLES_DIR="${PROJECT_SOURCE_DIR}/samples")
# Runs the built program twice and compares the settings files it leaves.
tavelo_add_test(NAME tst_R57Restart SOURCES settings/tst_R57Restart.cpp LIBS tavelo_ui)
target_compile_definitions(tst_R57Restart PRIVATE R57_PATH="$<TARGET_FILE:R57>")
add_dependencies(tst_R57Restart R57)
# The program it runs starts GStreamer.
tavelo_gstreamer_test(tst_R57Restart)
