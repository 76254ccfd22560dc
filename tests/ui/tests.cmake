# The launcher window in the test's own process: its template compiled into the test program.
if(WIN32)
    launcher_test(window_test
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/window_test.cpp
        LIBS launcher_ui)
    launcher_resources(window_test)
    target_include_directories(window_test PRIVATE ${PROJECT_SOURCE_DIR}/src)
    # The same window at 150 % (144 DPI), in a Wine prefix of that scale: every control in its
    # place and every text whole.
    add_test(NAME window_test_144dpi COMMAND window_test
        --gtest_filter=*ControlsAsTheTemplatePlacesThem:*UpDownsSitInsideTheirBuddies:*TextsShowWhole*)
    set_tests_properties(window_test_144dpi PROPERTIES
        ENVIRONMENT LAUNCHER_WINE_DPI=144 TIMEOUT 600 SKIP_RETURN_CODE 77)
endif()
