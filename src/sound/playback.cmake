# Sound playback on four channels through multimedia command strings, played
# by GStreamer.
target_sources(tavelo_core PRIVATE
    src/sound/MultimediaCommands.h
    src/sound/mdlSndAPI.cpp src/sound/mdlSndAPI.h
    src/sound/CommandString.cpp src/sound/CommandString.h
    src/sound/GstChannel.cpp src/sound/GstChannel.h
    src/sound/GstCommandInterpreter.cpp src/sound/GstCommandInterpreter.h
    src/sound/SoundChimePlayer.cpp src/sound/SoundChimePlayer.h
)
