# Sound playback on four channels through multimedia command strings.
target_sources(tavelo_core PRIVATE
    src/sound/MultimediaCommands.h
    src/sound/mdlSndAPI.cpp src/sound/mdlSndAPI.h
)
