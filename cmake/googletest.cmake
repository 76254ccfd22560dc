# GoogleTest: an installed package where the build can use one (the native build), else built
# from the sources of Debian's googletest package with our compiler (the cross builds: the
# mingw-w64 posix variant for the Windows test programs, g++ -m32 for native32). Their
# toolchain files keep them from finding the host's library.
find_package(GTest QUIET)
if(NOT GTest_FOUND)
    set(GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    add_subdirectory(${GOOGLETEST_SOURCE_DIR} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # GoogleTest keeps its own flags: the presets' warnings as errors are for our code.
    set_target_properties(gtest gtest_main PROPERTIES COMPILE_WARNING_AS_ERROR OFF)
endif()

# launcher_test(NAME SOURCES... LIBS ...): one GoogleTest program, run by CTest
# (under Wine when cross-compiled); the Windows ones also go into the test kit (tests/kit.cmake).
function(launcher_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_compile_options(${name} PRIVATE ${LAUNCHER_WARNINGS})
    # The tests' shared helpers: #include "support/...".
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
    # Shuffled: a test that needs another before it fails (the output gives the seed, which
    # --gtest_random_seed takes to repeat the order).
    add_test(NAME ${name} COMMAND ${name} --gtest_shuffle)
    set_property(GLOBAL APPEND PROPERTY LAUNCHER_TEST_PROGRAMS ${name})
    if(WIN32)
        # In the test kit too, stripped: the kit is sent around as a zip.
        list(APPEND T_LABELS kit)
        target_link_options(${name} PRIVATE -s)
        # support/ names its folders and files as the launcher names its own (ansiPathText), so
        # the ANSI functions reach them under any user name.
        target_link_libraries(${name} PRIVATE launcher_platform)
    endif()
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}" TIMEOUT 600 SKIP_RETURN_CODE 77)
endfunction()
