# The property checks of the fuzz targets: built into the libFuzzer programs (fuzz/) and into
# the replay test of the native build (tests/fuzz_regressions/), which include this list.
set(FUZZ_CHECK_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/ini_checks.cpp
    ${CMAKE_CURRENT_LIST_DIR}/number_checks.cpp
    ${CMAKE_CURRENT_LIST_DIR}/args_checks.cpp
    ${CMAKE_CURRENT_LIST_DIR}/basedir_checks.cpp
    ${CMAKE_CURRENT_LIST_DIR}/encoding_checks.cpp
)
