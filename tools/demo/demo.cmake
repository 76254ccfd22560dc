# The demo programs of tools/run.sh, built only on request. The demo emulator (target
# demo_emulator) is the tests' stand-in emulator built with STAND_IN_DEMO, as quellix.exe beside
# the launcher in dist/, the emulator path of a first start; the demo page viewer (target
# demo_page_viewer) opens .html files in run.sh's Wine prefix, from demo/, outside the run
# folder. The release zip lists its files one by one and never takes either.
add_executable(demo_emulator WIN32 EXCLUDE_FROM_ALL
    ${PROJECT_SOURCE_DIR}/tests/support/stand_in_emulator.cpp)
target_compile_options(demo_emulator PRIVATE ${LAUNCHER_WARNINGS})
target_compile_definitions(demo_emulator PRIVATE STAND_IN_DEMO)
target_link_options(demo_emulator PRIVATE -s)
set_target_properties(demo_emulator PROPERTIES OUTPUT_NAME quellix
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/dist)

add_executable(demo_page_viewer WIN32 EXCLUDE_FROM_ALL
    ${PROJECT_SOURCE_DIR}/tools/demo/page_viewer.cpp)
target_compile_options(demo_page_viewer PRIVATE ${LAUNCHER_WARNINGS})
target_link_options(demo_page_viewer PRIVATE -s)
set_target_properties(demo_page_viewer PROPERTIES OUTPUT_NAME page_viewer
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/demo)
