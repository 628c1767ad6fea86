target_sources(tavelo_core PRIVATE
    src/route/CsvReader.cpp src/route/CsvReader.h
    src/route/FareRule.cpp src/route/FareRule.h
    src/route/RouteSource.cpp src/route/RouteSource.h
    src/route/RouteBuilder.cpp src/route/RouteBuilder.h
    src/route/RouteFiles.cpp src/route/RouteFiles.h
    src/route/GtfsFeed.cpp src/route/GtfsFeed.h
    src/route/GtfsImport.cpp src/route/GtfsImport.h
    src/route/GtfsRouteList.cpp src/route/GtfsRouteList.h
)
pkg_check_modules(LIBZIP REQUIRED IMPORTED_TARGET libzip)
target_link_libraries(tavelo_core PUBLIC PkgConfig::LIBZIP)
