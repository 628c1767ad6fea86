# The options dialog and applying the options list their sources here.
target_sources(tavelo_core PRIVATE
    src/settings/OptionInfo.h
    src/settings/OptionError.h
    src/settings/OptionTexts.cpp src/settings/OptionTexts.h
)
target_sources(tavelo_ui PRIVATE
    src/settings/CaptionGap.cpp src/settings/CaptionGap.h
    src/settings/ColorButton.cpp src/settings/ColorButton.h
    src/settings/ControlValue.cpp src/settings/ControlValue.h
    src/settings/DisplayLookApplier.cpp src/settings/DisplayLookApplier.h
    src/settings/PageTabButton.cpp src/settings/PageTabButton.h
    src/settings/WrappingRadioButton.cpp src/settings/WrappingRadioButton.h
    src/settings/frmOption.cpp src/settings/frmOption.h
)
