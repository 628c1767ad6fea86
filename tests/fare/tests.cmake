include(${CMAKE_CURRENT_LIST_DIR}/panel.cmake OPTIONAL)
