# The emulator's parameter text (portable), and launching under Wine.
launcher_test(launch_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/emulator_args_test.cpp
    LIBS launcher_core)
