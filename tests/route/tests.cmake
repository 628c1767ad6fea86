# Tests of the route sources: the CSV reader, the fare rules, the source file
# and the files built from it, and the GTFS import.
tavelo_add_test(NAME tst_CsvReader SOURCES route/tst_CsvReader.cpp LIBS tavelo_core)
tavelo_add_test(NAME tst_RouteBuilder SOURCES route/tst_RouteBuilder.cpp LIBS tavelo_core)
tavelo_add_test(NAME tst_RouteSource SOURCES route/tst_RouteSource.cpp LIBS tavelo_core)
tavelo_add_test(NAME tst_HepburnRomanizer SOURCES route/tst_HepburnRomanizer.cpp LIBS tavelo_core)
tavelo_add_test(NAME tst_GtfsImport SOURCES route/tst_GtfsImport.cpp LIBS tavelo_core)
target_compile_definitions(tst_GtfsImport PRIVATE TAVELO_ROUTE_DATA="${CMAKE_CURRENT_LIST_DIR}/data"
    HY3TOOL="$<TARGET_FILE:hy3tool>")
add_dependencies(tst_GtfsImport hy3tool)
tavelo_add_test(NAME tst_RouteDocument SOURCES route/tst_RouteDocument.cpp LIBS tavelo_core)

# The route editor's window, driven through its controls.
tavelo_add_test(NAME tst_RouteEditor SOURCES route/tst_RouteEditor.cpp LIBS tavelo_ui)
