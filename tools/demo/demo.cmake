# The demo emulator of tools/run.sh: the tests' stand-in emulator built with STAND_IN_DEMO,
# only on request (target demo_emulator), as quellix.exe beside the launcher in dist/, the
# emulator path of a first start. The release zip lists its files one by one and never takes it.
add_executable(demo_emulator WIN32 EXCLUDE_FROM_ALL
    ${PROJECT_SOURCE_DIR}/tests/support/stand_in_emulator.cpp)
target_compile_options(demo_emulator PRIVATE ${LAUNCHER_WARNINGS})
target_compile_definitions(demo_emulator PRIVATE STAND_IN_DEMO)
target_link_options(demo_emulator PRIVATE -s)
set_target_properties(demo_emulator PROPERTIES OUTPUT_NAME quellix
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/dist)
