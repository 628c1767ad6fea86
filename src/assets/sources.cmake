# The panel picture is committed; `drawpanel` redraws it when its artwork changes:
#   QT_QPA_PLATFORM=offscreen build/drawpanel src/assets/panel.png
qt_add_resources(tavelo_ui "panel" PREFIX /panel BASE src/assets FILES src/assets/panel.png)

qt_add_executable(drawpanel src/assets/drawpanel.cpp)
target_link_libraries(drawpanel PRIVATE tavelo_core Qt6::Gui)
