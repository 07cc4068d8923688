# Shared compile settings for every target of the project.
add_library(velotrix_common_cfg INTERFACE)
target_compile_features(velotrix_common_cfg INTERFACE cxx_std_20)
target_compile_options(velotrix_common_cfg INTERFACE
    -Wall -Wextra -Wpedantic -Wold-style-cast -Wshadow)
target_compile_definitions(velotrix_common_cfg INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_NO_KEYWORDS
    VELOTRIX_VERSION="${PROJECT_VERSION}.0")

if(VELOTRIX_WERROR)
    target_compile_options(velotrix_common_cfg INTERFACE -Werror)
endif()

set(_velotrix_san "")
if(VELOTRIX_ASAN)
    list(APPEND _velotrix_san address)
endif()
if(VELOTRIX_UBSAN)
    list(APPEND _velotrix_san undefined)
endif()
if(_velotrix_san)
    list(JOIN _velotrix_san "," _velotrix_san_list)
    target_compile_options(velotrix_common_cfg INTERFACE
        -fsanitize=${_velotrix_san_list} -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(velotrix_common_cfg INTERFACE -fsanitize=${_velotrix_san_list})
endif()

if(VELOTRIX_COVERAGE)
    target_compile_options(velotrix_common_cfg INTERFACE --coverage -O0)
    target_link_options(velotrix_common_cfg INTERFACE --coverage)
endif()
