# Checks the demo data against its route sources: hy3tool build-route makes
# from samples/<route>.route.json exactly the committed <route>.hy3 and
# <route>tp.csv, without a warning; the committed yomi.txt holds exactly the
# readings the sources give; hy3tool check accepts every .hy3, and its dump
# builds the same bytes again. Run with -DHY3TOOL=... -DSAMPLES=... -DWORK=...
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/kept ${WORK}/fresh)
file(COPY ${SAMPLES}/yomi.txt DESTINATION ${WORK}/kept)
file(GLOB sources ${SAMPLES}/*.route.json)
if(NOT sources)
    message(FATAL_ERROR "no route source in ${SAMPLES}")
endif()

# The number of entries of a dictionary: its lines (each ends in a line
# break) but the comments. Read as hex, as its Shift_JIS bytes are no text
# for CMake.
function(count_entries path out)
    file(READ ${path} hex HEX)
    string(REGEX REPLACE "(..)" "\\1," bytes "0a${hex}")
    string(REGEX MATCHALL "0a," starts "${bytes}")
    string(REGEX MATCHALL "0a,23," comments "${bytes}")
    list(LENGTH starts lines)
    list(LENGTH comments commentLines)
    math(EXPR entries "${lines} - 1 - ${commentLines}")
    set(${out} ${entries} PARENT_SCOPE)
endfunction()

foreach(source ${sources})
    get_filename_component(name ${source} NAME)
    string(REPLACE ".route.json" "" route ${name})
    foreach(dir kept fresh)
        execute_process(COMMAND ${HY3TOOL} build-route ${source} --out ${WORK}/${dir}
                        RESULT_VARIABLE failed OUTPUT_QUIET ERROR_VARIABLE said)
        if(failed OR said MATCHES "警告")
            message(FATAL_ERROR "hy3tool build-route ${source} ended with ${failed} and said: ${said}")
        endif()
    endforeach()
    foreach(built ${route}.hy3 ${route}tp.csv)
        execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${SAMPLES}/${built} ${WORK}/kept/${built}
                        RESULT_VARIABLE differs)
        if(differs)
            message(FATAL_ERROR "samples/${built} is not what ${name} builds: run scripts/make-sample-fares")
        endif()
    endforeach()
    execute_process(COMMAND ${HY3TOOL} check ${source} RESULT_VARIABLE refused OUTPUT_QUIET ERROR_VARIABLE said)
    if(refused OR said MATCHES "警告")
        message(FATAL_ERROR "hy3tool check ${source} ended with ${refused} and said: ${said}")
    endif()

    set(committed ${SAMPLES}/${route}.hy3)
    execute_process(COMMAND ${HY3TOOL} check ${committed} RESULT_VARIABLE refused OUTPUT_QUIET ERROR_VARIABLE said)
    if(refused OR said MATCHES "警告")
        message(FATAL_ERROR "hy3tool check ${committed} ended with ${refused} and said: ${said}")
    endif()
    execute_process(COMMAND ${HY3TOOL} dump ${committed} OUTPUT_FILE ${WORK}/${route}-dump.csv RESULT_VARIABLE failed)
    execute_process(COMMAND ${HY3TOOL} build ${WORK}/${route}-dump.csv ${WORK}/${route}-again.hy3 RESULT_VARIABLE failed2)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${committed} ${WORK}/${route}-again.hy3 RESULT_VARIABLE differs)
    if(failed OR failed2 OR differs)
        message(FATAL_ERROR "the dump of ${committed} does not build the same file")
    endif()
endforeach()

# Built into a folder that had one, the dictionary keeps its bytes; built
# from nothing, it has the same entries: no reading is missing from a source.
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${SAMPLES}/yomi.txt ${WORK}/kept/yomi.txt RESULT_VARIABLE differs)
if(differs)
    message(FATAL_ERROR "the route sources add readings to samples/yomi.txt: run scripts/make-sample-fares")
endif()
# The build into the copy added nothing and changed no reading (it would have
# warned): so when the sources build as many entries from nothing as the
# committed file has, they give every one of them.
count_entries(${SAMPLES}/yomi.txt committedEntries)
count_entries(${WORK}/fresh/yomi.txt builtEntries)
if(NOT committedEntries EQUAL builtEntries)
    message(FATAL_ERROR "samples/yomi.txt has ${committedEntries} readings, the route sources give ${builtEntries}")
endif()
