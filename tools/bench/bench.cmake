# The dialog programs tools/benchmark.sh weighs the launcher's size, start-up time and memory
# against, built only on request (EXCLUDE_FROM_ALL), exactly as the launcher is, so the two
# differ only in what the launcher adds. Its probe, start_probe.cpp, is compiled by the script.
add_executable(bare_dialog WIN32 EXCLUDE_FROM_ALL
    ${CMAKE_CURRENT_LIST_DIR}/bare_dialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/bare_dialog.rc)
target_compile_options(bare_dialog PRIVATE ${LAUNCHER_PRODUCT_FLAGS})
target_link_options(bare_dialog PRIVATE -s -Wl,--gc-sections)

# The other floors, from the same source: the bare dialog with the launcher's resources and
# common controls, without the launcher's DLLs of old (template_dialog) and with them
# (resource_dialog).
foreach(floor template_dialog resource_dialog)
    add_executable(${floor} WIN32 EXCLUDE_FROM_ALL ${CMAKE_CURRENT_LIST_DIR}/bare_dialog.cpp)
    launcher_resources(${floor})
    target_include_directories(${floor} PRIVATE ${PROJECT_SOURCE_DIR}/src)
    target_compile_options(${floor} PRIVATE ${LAUNCHER_PRODUCT_FLAGS})
    target_compile_definitions(${floor} PRIVATE LAUNCHER_TEMPLATE)
    target_link_options(${floor} PRIVATE -s -Wl,--gc-sections)
endforeach()
target_link_libraries(template_dialog PRIVATE comctl32)
target_link_libraries(resource_dialog PRIVATE comctl32 comdlg32 shell32)
target_compile_definitions(resource_dialog PRIVATE IMPORT_SHELL_DLLS)
