# What hy3tool build and check must say out loud. Run with -DHY3TOOL=...
# -DWORK=...
file(MAKE_DIRECTORY ${WORK})

# A file of one stop can never be set as a route: hy3tool build writes it but
# warns and does not end with success.
file(WRITE ${WORK}/one.csv "駅前,1,0\n")
execute_process(COMMAND ${HY3TOOL} build ${WORK}/one.csv ${WORK}/one.hy3
                RESULT_VARIABLE result ERROR_VARIABLE said)
if(result EQUAL 0 OR NOT said MATCHES "警告: 停留所が1件だけ")
    message(FATAL_ERROR "hy3tool build of one stop ended with ${result} and said: ${said}")
endif()

# A fare of 12000 lights only "2000": build and check name its stop and
# column.
file(WRITE ${WORK}/wide.csv "駅前,1,0\n本町,0,12000\n")
foreach(command "build;${WORK}/wide.csv;${WORK}/wide.hy3" "check;${WORK}/wide.hy3")
    execute_process(COMMAND ${HY3TOOL} ${command} OUTPUT_QUIET ERROR_VARIABLE said)
    if(NOT said MATCHES "停留所 2（本町）, 列 1: 運賃 12000 は表示の4桁に収まりません（「2000」")
        message(FATAL_ERROR "hy3tool ${command} of a fare of 12000 said: ${said}")
    endif()
endforeach()
