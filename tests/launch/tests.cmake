# The emulator's parameter text (portable), and launching under Wine.
launcher_test(launch_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/emulator_args_test.cpp
    LIBS launcher_core)

if(WIN32)
    # The stand-in emulator that launch tests start in the emulator's place.
    add_executable(stand_in_emulator WIN32 ${CMAKE_CURRENT_LIST_DIR}/../support/stand_in_emulator.cpp)
    target_compile_options(stand_in_emulator PRIVATE ${LAUNCHER_WARNINGS})
endif()
