# The settings record, its choice tables, the program directory, the settings file and the file
# named on the command line.
launcher_test(settings_test
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/settings_file_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/choice_tables_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/program_dir_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/path_text_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/file_argument_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ini_encoding_test.cpp
    LIBS launcher_core)
if(WIN32)
    # The platform's own split of a command line, beside ours.
    target_link_libraries(settings_test PRIVATE shell32)
endif()
