# The fuzz targets' seed corpora and saved findings, replayed through their property checks
# (native build: the inputs are read from the source tree).
if(NOT WIN32)
    include(${PROJECT_SOURCE_DIR}/fuzz/fuzz_checks.cmake)
    launcher_test(fuzz_replay_test
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/replay_test.cpp ${FUZZ_CHECK_SOURCES}
        LIBS launcher_core launcher_ini)
    target_include_directories(fuzz_replay_test PRIVATE ${PROJECT_SOURCE_DIR}/fuzz)
    target_compile_definitions(fuzz_replay_test PRIVATE FUZZ_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
endif()
