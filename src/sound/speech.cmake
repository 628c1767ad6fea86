# Announcements and speech. MeCab has no pkg-config file on Debian.
find_path(MECAB_INCLUDE_DIR mecab.h REQUIRED)
find_library(MECAB_LIBRARY mecab REQUIRED)
pkg_check_modules(ESPEAK_NG REQUIRED IMPORTED_TARGET espeak-ng)
target_include_directories(tavelo_core PRIVATE ${MECAB_INCLUDE_DIR})
target_link_libraries(tavelo_core PUBLIC ${MECAB_LIBRARY} PkgConfig::ESPEAK_NG)

target_sources(tavelo_core PRIVATE
    src/sound/ChimePlayer.h
    src/sound/TapeOptions.h
    src/sound/mdlM_Tape.cpp src/sound/mdlM_Tape.h
    src/sound/SpeechEngine.h
    src/sound/SpeechService.h
    src/sound/VoiceSettings.cpp src/sound/VoiceSettings.h
    src/sound/KanaText.cpp src/sound/KanaText.h
    src/sound/KanjiReadings.cpp src/sound/KanjiReadings.h
    src/sound/ReadingDictionary.cpp src/sound/ReadingDictionary.h
    src/sound/MecabTagger.cpp src/sound/MecabTagger.h
    src/sound/KanaReader.cpp src/sound/KanaReader.h
    src/sound/SpokenReading.cpp src/sound/SpokenReading.h
    src/sound/EspeakSynth.cpp src/sound/EspeakSynth.h
    src/sound/SpokenEnglish.cpp src/sound/SpokenEnglish.h
    src/sound/PcmPlayer.cpp src/sound/PcmPlayer.h
    src/sound/EspeakSpeechEngine.cpp src/sound/EspeakSpeechEngine.h
)
# The built-in reading dictionary of common bus words.
qt_add_resources(tavelo_core "reading_dictionary" PREFIX /sound BASE src/sound FILES src/sound/yomi.txt)

target_sources(tavelo_ui PRIVATE
    src/sound/VoiceDialog.cpp src/sound/VoiceDialog.h
    src/sound/EspeakSpeechService.cpp src/sound/EspeakSpeechService.h
)

# tptool: checks, reads out and renders announcement files for their authors.
qt_add_executable(tptool src/sound/tptool/main.cpp src/sound/tptool/WavFile.cpp src/sound/tptool/WavFile.h)
target_link_libraries(tptool PRIVATE tavelo_core)
