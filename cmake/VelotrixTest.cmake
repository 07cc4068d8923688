# velotrix_add_test(<source>)
# One Qt Test executable per unit, named after its source file. A unit whose
# main is QTEST_GUILESS_MAIN or QTEST_APPLESS_MAIN tests the core and links
# only velotrix_core; every other unit links the windows too and runs on the
# offscreen platform so it needs no display.
function(velotrix_add_test source)
    get_filename_component(name ${source} NAME_WE)
    file(STRINGS ${source} _guiless REGEX "QTEST_(GUILESS|APPLESS)_MAIN")
    add_executable(${name} ${source})
    if(_guiless)
        target_link_libraries(${name} PRIVATE velotrix_core velotrix_emulator velotrix_testsupport_core Qt6::Test velotrix_common_cfg)
    else()
        target_link_libraries(${name} PRIVATE velotrix_gui velotrix_emulator velotrix_testsupport Qt6::Test velotrix_common_cfg)
    endif()
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp"
        TIMEOUT 300)
endfunction()
