# tickettool answers in Japanese like the other tools, and its error stream
# carries its own messages only, also where no runtime folder is set.
# Run with -DTICKETTOOL=... -DGOOD=... -DBAD=...
set(run ${CMAKE_COMMAND} -E env --unset=XDG_RUNTIME_DIR --unset=QT_QPA_PLATFORM ${TICKETTOOL})
execute_process(COMMAND ${run} check ${GOOD} RESULT_VARIABLE result OUTPUT_VARIABLE said ERROR_VARIABLE complained)
if(NOT result EQUAL 0 OR NOT complained STREQUAL "" OR NOT said MATCHES "正しい整理券プラグインです")
    message(FATAL_ERROR "check ${GOOD} ended with ${result}, said: ${said}\ncomplained: ${complained}")
endif()
execute_process(COMMAND ${run} check ${BAD} RESULT_VARIABLE result OUTPUT_VARIABLE said ERROR_VARIABLE complained)
if(NOT result EQUAL 1 OR NOT complained MATCHES "知らない要素「[^」]*」です" OR NOT said STREQUAL "")
    message(FATAL_ERROR "check ${BAD} ended with ${result}, said: ${said}\ncomplained: ${complained}")
endif()
