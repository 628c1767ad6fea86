# The LCD look of the display: what it shows, its pages and languages, and
# its painting, made from the running bus; the widget that shows it.
target_sources(tavelo_core PRIVATE
    src/lcd/KanaStopNames.cpp src/lcd/KanaStopNames.h
    src/lcd/LcdBoardView.h
    src/lcd/LcdBoardCycle.cpp src/lcd/LcdBoardCycle.h
    src/lcd/LcdBoardContent.cpp src/lcd/LcdBoardContent.h
    src/lcd/LcdBoardPainter.cpp src/lcd/LcdBoardPainter.h
)
target_sources(tavelo_ui PRIVATE
    src/lcd/LcdFareDisplay.cpp src/lcd/LcdFareDisplay.h
)
