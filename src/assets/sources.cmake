# The application icon is committed; `drawicon` redraws every size:
#   QT_QPA_PLATFORM=offscreen build/drawicon packaging/icons/hicolor
qt_add_executable(drawicon src/assets/drawicon.cpp)
target_link_libraries(drawicon PRIVATE Qt6::Gui)
