# velotrix_add_test(<source> [GUI])
# One Qt Test executable per unit, named after its source file. GUI tests run
# on the offscreen platform so they need no display.
function(velotrix_add_test source)
    cmake_parse_arguments(ARG "GUI" "" "" ${ARGN})
    get_filename_component(name ${source} NAME_WE)
    add_executable(${name} ${source})
    target_link_libraries(${name} PRIVATE velotrix_gui velotrix_emulator velotrix_testsupport Qt6::Test velotrix_common_cfg)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp"
        TIMEOUT 300)
endfunction()
