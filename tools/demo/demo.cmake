# The demo emulator of tools/run.sh: built only on request (target demo_emulator), as
# quellix.exe beside the launcher in dist/, the emulator path of a first start. The release
# zip lists its files one by one and never takes it.
add_executable(demo_emulator WIN32 EXCLUDE_FROM_ALL ${CMAKE_CURRENT_LIST_DIR}/demo_emulator.cpp)
target_compile_options(demo_emulator PRIVATE ${LAUNCHER_WARNINGS})
target_link_options(demo_emulator PRIVATE -s)
set_target_properties(demo_emulator PROPERTIES OUTPUT_NAME quellix
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/dist)
