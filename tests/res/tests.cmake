# The launcher's resources, read back from a test program that links them in; an edited
# manifest reaching the exe; and the dialog programs the launcher's size, start-up time and
# memory are measured against (built by tools/benchmark.sh only).
if(WIN32)
    launcher_test(resources_test
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/resources_test.cpp
        LIBS comctl32)
    launcher_resources(resources_test)
    target_include_directories(resources_test PRIVATE ${PROJECT_SOURCE_DIR}/src)

    # A scratch build of the launcher from a copy of the manifest, edited between two builds.
    add_test(NAME manifest_rebuild
        COMMAND ${CMAKE_COMMAND}
            -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
            -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/manifest_rebuild
            -DGENERATOR=${CMAKE_GENERATOR}
            -DTOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
            -DBUILD_TYPE=${CMAKE_BUILD_TYPE}
            -P ${CMAKE_CURRENT_LIST_DIR}/manifest_rebuild.cmake)
    set_tests_properties(manifest_rebuild PROPERTIES TIMEOUT 600 LABELS build)

    # Built exactly as the launcher is, so the two differ only in what the launcher adds.
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
endif()
