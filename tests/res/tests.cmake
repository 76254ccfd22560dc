# The launcher's resources, read back from a test program that links them in, and the two
# dialog programs the launcher's size, start-up time and memory are measured against.
if(WIN32)
    launcher_test(resources_test
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/resources_test.cpp
        LIBS comctl32)
    launcher_resources(resources_test)
    target_include_directories(resources_test PRIVATE ${PROJECT_SOURCE_DIR}/src)

    # Built exactly as the launcher is, so the two differ only in what the launcher adds.
    add_executable(bare_dialog WIN32
        ${CMAKE_CURRENT_LIST_DIR}/bare_dialog.cpp
        ${CMAKE_CURRENT_LIST_DIR}/bare_dialog.rc)
    target_compile_options(bare_dialog PRIVATE ${LAUNCHER_PRODUCT_FLAGS})
    target_link_options(bare_dialog PRIVATE -s -Wl,--gc-sections)

    # The other floors, from the same source: the bare dialog with the launcher's resources and
    # common controls, without the launcher's DLLs of old (template_dialog) and with them
    # (resource_dialog).
    foreach(floor template_dialog resource_dialog)
        add_executable(${floor} WIN32 ${CMAKE_CURRENT_LIST_DIR}/bare_dialog.cpp)
        launcher_resources(${floor})
        target_include_directories(${floor} PRIVATE ${PROJECT_SOURCE_DIR}/src)
        target_compile_options(${floor} PRIVATE ${LAUNCHER_PRODUCT_FLAGS})
        target_compile_definitions(${floor} PRIVATE LAUNCHER_TEMPLATE)
        target_link_options(${floor} PRIVATE -s -Wl,--gc-sections)
    endforeach()
    target_link_libraries(template_dialog PRIVATE comctl32)
    target_link_libraries(resource_dialog PRIVATE comctl32 comdlg32 shell32)
    target_compile_definitions(resource_dialog PRIVATE IMPORT_SHELL_DLLS)
endif()
