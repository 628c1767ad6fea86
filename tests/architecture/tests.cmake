# The folders of src/ keep their layer order (layers.txt) and include one
# another without a cycle. `check-layers.sh src layers.txt --graph` prints
# the folder include graph as well.
add_test(NAME include_layers
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/architecture/check-layers.sh
        ${CMAKE_SOURCE_DIR}/src ${CMAKE_CURRENT_SOURCE_DIR}/architecture/layers.txt)
set_tests_properties(include_layers PROPERTIES TIMEOUT 120)
