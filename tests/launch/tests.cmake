# The emulator's parameter text (portable), the help page, and launching under Wine.
launcher_test(launch_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/emulator_args_test.cpp
    LIBS launcher_core)

# The help page as shipped: self-contained and complete (needs no platform).
launcher_test(help_page_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/help_page_test.cpp)
target_compile_definitions(help_page_test PRIVATE HELP_PAGE="${CMAKE_SOURCE_DIR}/help/help.html")

if(WIN32)
    # The stand-in emulator that launch tests start in the emulator's place.
    add_executable(stand_in_emulator WIN32 ${CMAKE_CURRENT_LIST_DIR}/../support/stand_in_emulator.cpp)
    target_compile_options(stand_in_emulator PRIVATE ${LAUNCHER_WARNINGS})

    # The page must also sit beside the launcher in the build output.
    target_compile_definitions(help_page_test PRIVATE LAUNCHER_DIST_DIR="$<TARGET_FILE_DIR:launcher>")
    add_dependencies(help_page_test launcher)

    # Launch and Help through the shell, with the stand-in as emulator and as page handler.
    launcher_test(launch_win_test
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/launch_win_test.cpp
        LIBS launcher_ui)
    target_include_directories(launch_win_test PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
    target_compile_definitions(launch_win_test PRIVATE
        STAND_IN_EMULATOR="$<TARGET_FILE:stand_in_emulator>")
    add_dependencies(launch_win_test stand_in_emulator)
endif()
