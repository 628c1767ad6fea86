# The end of the `bench` target, after every benchmark has run: fails when
# any of them missed a target, naming them.
#   cmake -DRESULTS=<folder of verdicts> -P BenchVerdict.cmake
file(GLOB verdicts "${RESULTS}/*")
set(missed)
foreach(file IN LISTS verdicts)
    file(READ "${file}" verdict)
    if(NOT verdict STREQUAL "met")
        get_filename_component(benchmark "${file}" NAME)
        list(APPEND missed "${benchmark}: ${verdict}")
    endif()
endforeach()
list(LENGTH verdicts count)
if(missed)
    list(JOIN missed "\n  " listed)
    message(FATAL_ERROR "Benchmarks that did not meet their targets:\n  ${listed}")
endif()
message(STATUS "All ${count} benchmarks met their targets")
