# The emulator's parameter text (portable), the help page, and launching under Wine.
launcher_test(launch_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/emulator_args_test.cpp
    LIBS launcher_core)

# The help page as shipped: self-contained, complete, and its examples and defaults the code's.
# It needs no platform, so it runs in the native build only; the release check finds the same
# page beside the launcher.
if(NOT WIN32)
    launcher_test(help_page_test
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/help_page_test.cpp
        LIBS launcher_core)
    target_compile_definitions(help_page_test PRIVATE
        HELP_PAGE="${PROJECT_SOURCE_DIR}/help/help.html")
endif()

if(WIN32)
    # The stand-in emulator that launch tests start in the emulator's place (and, built with
    # STAND_IN_DEMO, the demo emulator of tools/run.sh).
    add_executable(stand_in_emulator WIN32 ${CMAKE_CURRENT_LIST_DIR}/../support/stand_in_emulator.cpp)
    target_compile_options(stand_in_emulator PRIVATE ${LAUNCHER_WARNINGS})

    # Launch and Help through the shell, with the stand-in as emulator and as page handler.
    launcher_test(launch_win_test
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/launch_win_test.cpp
        LIBS launcher_ui ole32)
    add_dependencies(launch_win_test launcher_beside_tests stand_in_emulator)
endif()
