# Recording the display's windows: the frames painted by the display itself,
# the off-line render of a run and the live recording with its menu.
target_sources(tavelo_ui PRIVATE
    src/recording/BoardFramePainter.cpp src/recording/BoardFramePainter.h
    src/recording/RenderCommand.cpp src/recording/RenderCommand.h
    src/recording/LiveRecorder.cpp src/recording/LiveRecorder.h
    src/recording/RecordingControls.cpp src/recording/RecordingControls.h
)
