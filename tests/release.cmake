# The release zip and its SHA256SUMS: built by the `release` target, and their contents checked.
if(WIN32)
    add_test(NAME release_package
        COMMAND bash ${PROJECT_SOURCE_DIR}/tools/check_package.sh ${PROJECT_BINARY_DIR})
    set_tests_properties(release_package PROPERTIES TIMEOUT 120 RUN_SERIAL TRUE)
endif()
