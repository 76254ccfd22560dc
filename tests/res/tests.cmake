# The launcher's resources, read back from a test program that links them in, and an edited
# manifest reaching the exe.
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
endif()
