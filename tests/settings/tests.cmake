# The settings record, its choice tables, the program directory and the settings file.
launcher_test(settings_test
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/settings_file_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/choice_tables_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/program_dir_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/path_text_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ini_encoding_test.cpp
    LIBS launcher_core)
target_include_directories(settings_test PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
