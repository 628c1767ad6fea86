# Runs one benchmark for the `bench` target and writes down its verdict, so
# that one that misses a target does not keep the others from running.
#   cmake -DRESULT=<file> -P RunBenchmark.cmake -- <command> [<argument>...]
set(command)
set(afterSeparator FALSE)
math(EXPR lastArgument "${CMAKE_ARGC} - 1")
foreach(i RANGE ${lastArgument})
    if(afterSeparator)
        list(APPEND command "${CMAKE_ARGV${i}}")
    elseif(CMAKE_ARGV${i} STREQUAL "--")
        set(afterSeparator TRUE)
    endif()
endforeach()
if(NOT command OR NOT RESULT)
    message(FATAL_ERROR "usage: cmake -DRESULT=<file> -P RunBenchmark.cmake -- <command> [<argument>...]")
endif()
execute_process(COMMAND ${command} RESULT_VARIABLE status)
if(status STREQUAL "0")
    file(WRITE "${RESULT}" "met")
else()
    # A crash or a failure to start counts as well: its status says which.
    file(WRITE "${RESULT}" "missed a target or failed (exit status: ${status})")
endif()
