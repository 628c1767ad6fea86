# The options dialog and applying the options list their sources here.
target_sources(tavelo_core PRIVATE
    src/settings/OptionInfo.h
    src/settings/OptionError.h
    src/settings/OptionsStore.cpp src/settings/OptionsStore.h
    src/settings/OptionTexts.cpp src/settings/OptionTexts.h
    src/settings/LookPreset.cpp src/settings/LookPreset.h
    src/settings/IniError.h
    src/settings/IniRecords.h
    src/settings/CtrlDataInfo.h
    src/settings/In4Format.cpp src/settings/In4Format.h
    src/settings/In4Layout.cpp src/settings/In4Layout.h
    src/settings/In4Listing.cpp src/settings/In4Listing.h
    src/settings/In4Reader.cpp src/settings/In4Reader.h
    src/settings/In4Writer.cpp src/settings/In4Writer.h
    src/settings/SettingsLocation.cpp src/settings/SettingsLocation.h
    src/settings/SettingsLog.cpp src/settings/SettingsLog.h
    src/settings/SideSettings.cpp src/settings/SideSettings.h
    src/settings/SideSettingsStore.cpp src/settings/SideSettingsStore.h
    src/settings/mdlIniIo.cpp src/settings/mdlIniIo.h
)
target_sources(tavelo_ui PRIVATE
    src/settings/CaptionGap.cpp src/settings/CaptionGap.h
    src/settings/ColorButton.cpp src/settings/ColorButton.h
    src/settings/ControlValue.cpp src/settings/ControlValue.h
    src/settings/Cp932PathValidator.cpp src/settings/Cp932PathValidator.h
    src/settings/PageTabButton.cpp src/settings/PageTabButton.h
    src/settings/WrappingRadioButton.cpp src/settings/WrappingRadioButton.h
)

# in4tool: prints a settings file as readable lines.
qt_add_executable(in4tool src/settings/in4tool/main.cpp)
target_link_libraries(in4tool PRIVATE tavelo_core)
