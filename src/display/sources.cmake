target_sources(tavelo_core PRIVATE
    src/display/BoardLayout.cpp src/display/BoardLayout.h
    src/display/TicketNumbering.cpp src/display/TicketNumbering.h
)
target_sources(tavelo_ui PRIVATE
    src/display/PlatformServices.h
    src/display/DesktopPlatform.cpp src/display/DesktopPlatform.h
    src/display/ErrorReport.cpp src/display/ErrorReport.h
    src/display/JapaneseFonts.cpp src/display/JapaneseFonts.h
    src/display/mdlR57_000.cpp src/display/mdlR57_000.h
    src/display/Form1.cpp src/display/Form1.h
)
