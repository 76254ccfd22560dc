# The path rules: the program directory, path texts and the file named on the command line.
launcher_test(paths_test
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/program_dir_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/path_text_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/file_argument_test.cpp
    LIBS launcher_core)
if(WIN32)
    # The platform's own split of a command line, beside ours.
    target_link_libraries(paths_test PRIVATE shell32)
endif()
