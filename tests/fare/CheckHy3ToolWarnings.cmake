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

# A route source whose step fare cannot be held by a 16-bit cell is refused,
# naming the stop and the column, by check and build-route alike; nothing is
# written.
file(REMOVE_RECURSE ${WORK}/wide)
file(MAKE_DIRECTORY ${WORK}/wide)
file(WRITE ${WORK}/wide/12.route.json [=[{"format":"tavelo-route","version":1,"route":"12",
 "fareRule":{"kind":"distance","baseFare":100,"baseKm":1,"stepFare":2147483647,"stepKm":1,"unit":10},
 "stops":[{"name":"駅前","km":0},{"name":"本町","km":1.5}]}]=])
foreach(command "check;${WORK}/wide/12.route.json" "build-route;${WORK}/wide/12.route.json")
    execute_process(COMMAND ${HY3TOOL} ${command} RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE said)
    if(result EQUAL 0 OR NOT said MATCHES "停留所 2（本町）, 列 1: 運賃 2147483750 は運賃データの欄（-32768～32767）に収まらない")
        message(FATAL_ERROR "hy3tool ${command} of a step fare of 2147483647 ended with ${result} and said: ${said}")
    endif()
endforeach()
file(GLOB written ${WORK}/wide/*.hy3 ${WORK}/wide/*.csv ${WORK}/wide/yomi.txt)
if(written)
    message(FATAL_ERROR "a refused route wrote ${written}")
endif()

# A route source that is no plain file is refused before it is read.
execute_process(COMMAND ${HY3TOOL} build-route /dev/zero RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE said)
if(NOT result EQUAL 1 OR NOT said MATCHES "/dev/zero: ファイルではありません")
    message(FATAL_ERROR "hy3tool build-route /dev/zero ended with ${result} and said: ${said}")
endif()

# A symbolic link where yomi.txt goes is refused with its name: the file it
# points at keeps its bytes, and none of the route's files is written.
file(REMOVE_RECURSE ${WORK}/linked)
file(MAKE_DIRECTORY ${WORK}/linked)
file(WRITE ${WORK}/script.sh "#!/bin/sh\necho hello\n")
file(CREATE_LINK ${WORK}/script.sh ${WORK}/linked/yomi.txt SYMBOLIC)
file(WRITE ${WORK}/linked/12.route.json [=[{"format":"tavelo-route","version":1,"route":"12",
 "fareRule":{"kind":"flat","fare":200},
 "stops":[{"name":"駅前","reading":"えきまえ"},{"name":"本町"}]}]=])
execute_process(COMMAND ${HY3TOOL} build-route ${WORK}/linked/12.route.json
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE said)
file(READ ${WORK}/script.sh script)
file(GLOB written ${WORK}/linked/*.hy3 ${WORK}/linked/*.csv ${WORK}/linked/*-*)
if(result EQUAL 0 OR NOT said MATCHES "linked/yomi.txt: シンボリックリンク" OR NOT script STREQUAL "#!/bin/sh\necho hello\n"
   OR written)
    message(FATAL_ERROR "hy3tool build-route beside a linked yomi.txt ended with ${result}, wrote ${written} and said: ${said}")
endif()

# A stop name CP932 cannot write: check refuses as build-route does, with the
# same words naming the stop and the character.
file(REMOVE_RECURSE ${WORK}/emoji)
file(MAKE_DIRECTORY ${WORK}/emoji)
file(WRITE ${WORK}/emoji/3.route.json [=[{"format":"tavelo-route","version":1,"route":"3",
 "fareRule":{"kind":"flat","fare":200},"stops":[{"name":"駅前"},{"name":"本町😀"}]}]=])
set(named "停留所 2（本町😀）: 停名の「😀」\\(U\\+1F600\\)はシフトJIS（CP932）で書けません")
foreach(command "check;${WORK}/emoji/3.route.json" "build-route;${WORK}/emoji/3.route.json")
    execute_process(COMMAND ${HY3TOOL} ${command} RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE said)
    if(NOT result EQUAL 1 OR NOT said MATCHES "${named}")
        message(FATAL_ERROR "hy3tool ${command} of a name CP932 cannot write ended with ${result} and said: ${said}")
    endif()
endforeach()
