target_sources(tavelo_core PRIVATE
    src/display/BoardLayout.cpp src/display/BoardLayout.h
    src/display/DisplayScale.cpp src/display/DisplayScale.h
    src/display/PanelPicture.cpp src/display/PanelPicture.h
    src/display/EndSignalRelay.cpp src/display/EndSignalRelay.h
    src/display/FormInfo.h
    src/display/TicketNumbering.cpp src/display/TicketNumbering.h
    src/display/DisplayStyle.h
    src/display/WindowPlacement.cpp src/display/WindowPlacement.h
)
target_sources(tavelo_ui PRIVATE
    src/display/PlatformServices.h
    src/display/ErrorReport.cpp src/display/ErrorReport.h
    src/display/SessionEndWatcher.cpp src/display/SessionEndWatcher.h
    src/display/PrivateSocketFolder.cpp src/display/PrivateSocketFolder.h
    src/display/SingleInstanceGuard.cpp src/display/SingleInstanceGuard.h
    src/display/JapaneseFonts.cpp src/display/JapaneseFonts.h
    src/display/StopRequestLamp.cpp src/display/StopRequestLamp.h
)
find_package(Qt6 6.4 REQUIRED COMPONENTS Network)
target_link_libraries(tavelo_ui PUBLIC Qt6::Network)
