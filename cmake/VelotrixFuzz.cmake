# Fuzz targets for the parsers of files that users exchange or the system
# hands us (setup files, catalogues, record images, hardware IDs).
#
# velotrix_add_fuzzer(<name> <source>)
#   <source> defines LLVMFuzzerTestOneInput; its stored inputs are the files
#   of tests/fuzz/corpus/<name>/.
#   - Every build with tests: <name>_replay, the source with a main() that
#     feeds each stored input to the target once, registered as the CTest
#     test <name>. It needs neither clang nor libFuzzer.
#   - With VELOTRIX_FUZZ=ON (clang only): <name>, the libFuzzer executable,
#     with AddressSanitizer and UndefinedBehaviorSanitizer. The whole build is
#     instrumented for coverage, so the libraries it links are explored too.
#     tools/fuzz/run-fuzzers runs them all.

option(VELOTRIX_FUZZ "Build the libFuzzer targets (clang; AddressSanitizer and UBSan)" OFF)

set(VELOTRIX_FUZZ_CORPUS_DIR ${PROJECT_SOURCE_DIR}/tests/fuzz/corpus)

if(VELOTRIX_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "VELOTRIX_FUZZ needs clang (libFuzzer): configure with -DCMAKE_CXX_COMPILER=clang++")
    endif()
    # Coverage feedback for libFuzzer in every object; the fuzzer runtime and
    # its main() are linked into the fuzz executables only.
    target_compile_options(velotrix_common_cfg INTERFACE
        -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
        -fno-sanitize-recover=undefined)
    target_link_options(velotrix_common_cfg INTERFACE -fsanitize=address,undefined)
    # Builds every fuzz executable, wherever it was added.
    add_custom_target(velotrix_fuzzers)
endif()

function(velotrix_add_fuzzer name source)
    if(NOT IS_ABSOLUTE ${source})
        set(source ${CMAKE_CURRENT_SOURCE_DIR}/${source})
    endif()
    set(_corpus ${VELOTRIX_FUZZ_CORPUS_DIR}/${name})

    add_executable(${name}_replay ${source} ${PROJECT_SOURCE_DIR}/tests/fuzz/replaymain.cpp)
    target_link_libraries(${name}_replay PRIVATE velotrix_core velotrix_common_cfg)
    add_test(NAME ${name} COMMAND ${name}_replay ${_corpus})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp"
        LABELS fuzz TIMEOUT 300)

    if(VELOTRIX_FUZZ)
        add_executable(${name} ${source})
        target_link_libraries(${name} PRIVATE velotrix_core velotrix_common_cfg)
        target_link_options(${name} PRIVATE -fsanitize=fuzzer)
        add_dependencies(velotrix_fuzzers ${name})
    endif()
endfunction()
