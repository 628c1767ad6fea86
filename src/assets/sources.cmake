# The panel picture is committed; `drawpanel` redraws it when its artwork changes:
#   QT_QPA_PLATFORM=offscreen build/drawpanel src/assets/panel.png
qt_add_resources(tavelo_ui "panel" PREFIX /panel BASE src/assets FILES src/assets/panel.png)

qt_add_executable(drawpanel src/assets/drawpanel.cpp)
target_link_libraries(drawpanel PRIVATE tavelo_core Qt6::Gui)

# The application icon is committed too; `drawicon` redraws every size:
#   QT_QPA_PLATFORM=offscreen build/drawicon packaging/icons/hicolor
qt_add_executable(drawicon src/assets/drawicon.cpp)
target_link_libraries(drawicon PRIVATE Qt6::Gui)
