# The INI reader/writer, the profile-file seam and the settings file's encodings; on Windows also
# the comparison with the platform's own profile functions.
launcher_test(ini_text_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/ini_text_test.cpp ${CMAKE_CURRENT_LIST_DIR}/ini_encoding_test.cpp
    LIBS launcher_ini launcher_core)
if(WIN32)
    launcher_test(ini_differential_test
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/ini_differential_test.cpp
        LIBS launcher_ini)
endif()
