# The launcher window in the test's own process: its template compiled into the test program.
if(WIN32)
    launcher_test(window_test
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/window_test.cpp
        LIBS launcher_ui)
    launcher_resources(window_test)
    target_include_directories(window_test PRIVATE ${PROJECT_SOURCE_DIR}/src)
endif()
