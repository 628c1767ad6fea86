# A file of one stop can never be set as a route: hy3tool build writes it but
# warns and does not end with success. Run with -DHY3TOOL=... -DWORK=...
file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/one.csv "駅前,1,0\n")
execute_process(COMMAND ${HY3TOOL} build ${WORK}/one.csv ${WORK}/one.hy3
                RESULT_VARIABLE result ERROR_VARIABLE said)
if(result EQUAL 0 OR NOT said MATCHES "警告: 停留所が1件だけ")
    message(FATAL_ERROR "hy3tool build of one stop ended with ${result} and said: ${said}")
endif()
