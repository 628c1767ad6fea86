# The windows: the display, the control panel and the options dialog, which
# know one another, and the desktop's services they are handed.
target_sources(tavelo_ui PRIVATE
    src/windows/DesktopPlatform.cpp src/windows/DesktopPlatform.h
    src/windows/mdlR57_000.cpp src/windows/mdlR57_000.h
    src/windows/Form1.cpp src/windows/Form1.h
    src/windows/frmCtl.cpp src/windows/frmCtl.h
    src/windows/TimetableRunDialog.cpp src/windows/TimetableRunDialog.h
    src/windows/frmOption.cpp src/windows/frmOption.h
    src/windows/IniApplier.cpp src/windows/IniApplier.h
    src/windows/DisplayLookApplier.cpp src/windows/DisplayLookApplier.h
    src/windows/ScaleMenu.cpp src/windows/ScaleMenu.h
    src/windows/SideSettingsSave.cpp src/windows/SideSettingsSave.h
)
