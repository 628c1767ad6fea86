target_sources(tavelo_core PRIVATE
    src/route/FareRule.cpp src/route/FareRule.h
    src/route/FareRuleText.cpp src/route/FareRuleText.h
    src/route/ServiceTime.cpp src/route/ServiceTime.h
    src/route/RouteSource.cpp src/route/RouteSource.h
    src/route/RouteBuilder.cpp src/route/RouteBuilder.h
    src/route/RouteFiles.cpp src/route/RouteFiles.h
    src/route/GtfsFeed.cpp src/route/GtfsFeed.h
    src/route/GtfsImport.cpp src/route/GtfsImport.h
    src/route/GtfsStopTimes.cpp src/route/GtfsStopTimes.h
    src/route/GtfsProgress.cpp src/route/GtfsProgress.h
    src/route/GtfsReadingPieces.cpp src/route/GtfsReadingPieces.h
    src/route/GtfsTranslations.cpp src/route/GtfsTranslations.h
    src/route/HepburnRomanizer.cpp src/route/HepburnRomanizer.h
    src/route/GtfsRouteChoice.cpp src/route/GtfsRouteChoice.h
    src/route/RouteAnnouncements.cpp src/route/RouteAnnouncements.h
    src/route/RouteSourceChange.cpp src/route/RouteSourceChange.h
    src/route/RouteStopNames.cpp src/route/RouteStopNames.h
    src/route/RouteDocument.cpp src/route/RouteDocument.h
    src/route/StopTableModel.cpp src/route/StopTableModel.h
    src/route/FareGridModel.cpp src/route/FareGridModel.h
    src/route/AnnouncementModel.cpp src/route/AnnouncementModel.h
    src/route/TimetableModel.cpp src/route/TimetableModel.h
)
pkg_check_modules(LIBZIP REQUIRED IMPORTED_TARGET libzip)
target_link_libraries(tavelo_core PUBLIC PkgConfig::LIBZIP)

# The route editor's window (widgets: in the window library).
target_sources(tavelo_ui PRIVATE
    src/route/editor/RouteEditor.cpp src/route/editor/RouteEditor.h
    src/route/editor/FareRulePanel.cpp src/route/editor/FareRulePanel.h
    src/route/editor/GtfsImportDialog.cpp src/route/editor/GtfsImportDialog.h
    src/route/editor/GtfsImportProgress.cpp src/route/editor/GtfsImportProgress.h
    src/route/editor/RouteCellDelegate.cpp src/route/editor/RouteCellDelegate.h
    src/route/editor/SpokenReadingColumn.cpp src/route/editor/SpokenReadingColumn.h
)

# routeedit: the route editor as a program of its own.
qt_add_executable(routeedit src/route/routeedit/main.cpp)
target_link_libraries(routeedit PRIVATE tavelo_ui)
