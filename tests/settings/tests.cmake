# The settings record, its choice tables, the settings file and where baseDir comes from.
launcher_test(settings_test
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/settings_file_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/choice_tables_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/base_dir_test.cpp
    LIBS launcher_core)
