# tptool wav with an espeak-ng that speaks no Japanese (its dictionary gone,
# as in a damaged install): it must say why, exit with an error and leave no
# silent WAV, not even one of an earlier run.
# Run with -DTPTOOL=... -DESPEAK_DATA=... -DWORK=...
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/espeak-ng-data ${WORK}/out)
file(GLOB entries RELATIVE ${ESPEAK_DATA} ${ESPEAK_DATA}/*)
list(FIND entries ja_dict found)
if(found EQUAL -1)
    message(FATAL_ERROR "no Japanese dictionary in ${ESPEAK_DATA}")
endif()
list(REMOVE_ITEM entries ja_dict)
foreach(entry ${entries})
    file(CREATE_LINK ${ESPEAK_DATA}/${entry} ${WORK}/espeak-ng-data/${entry} SYMBOLIC)
endforeach()
file(WRITE ${WORK}/1tp.csv "Tavelo,0,0\r\n")
file(WRITE ${WORK}/out/001.wav "an earlier run")

execute_process(COMMAND ${CMAKE_COMMAND} -E env ESPEAK_DATA_PATH=${WORK}/espeak-ng-data
                        ${TPTOOL} wav ${WORK}/1tp.csv ${WORK}/out
                RESULT_VARIABLE exitCode ERROR_VARIABLE errors)
if(exitCode EQUAL 0)
    message(FATAL_ERROR "tptool wav reported success without a voice:\n${errors}")
endif()
if(NOT errors MATCHES "001\\.wav: 音声を合成できません（espeak-ng が音を出しません")
    message(FATAL_ERROR "tptool wav does not say what failed:\n${errors}")
endif()
if(EXISTS ${WORK}/out/001.wav)
    message(FATAL_ERROR "tptool wav left ${WORK}/out/001.wav")
endif()
