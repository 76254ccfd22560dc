# The test kit: the Windows test programs with what they start beside them (the launcher, its
# variant without a template, the stand-in emulator) and the help page, in one zip with
# run-tests.cmd, which runs them all on a Windows machine (or under Wine: tools/test.sh does).
# The build folder holds the same files side by side, so CTest runs the programs as the kit does.
if(WIN32)
    set(beside ${CMAKE_CURRENT_BINARY_DIR}/launcher.exe ${CMAKE_CURRENT_BINARY_DIR}/help/help.html)
    add_custom_command(OUTPUT ${beside}
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:launcher> ${CMAKE_CURRENT_BINARY_DIR}
        COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/help/help.html
            ${CMAKE_CURRENT_BINARY_DIR}/help/help.html
        DEPENDS launcher ${PROJECT_SOURCE_DIR}/help/help.html)
    add_custom_target(launcher_beside_tests DEPENDS ${beside})

    get_property(programs GLOBAL PROPERTY LAUNCHER_TEST_PROGRAMS)
    set(entries)
    foreach(program IN LISTS programs ITEMS launcher_without_dialog stand_in_emulator)
        list(APPEND entries ${program}.exe=$<TARGET_FILE:${program}>)
    endforeach()
    add_custom_target(test_kit
        COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/make_release.py
            ${PROJECT_BINARY_DIR}/kit "quellix-frontend-tests-${PROJECT_VERSION}-${LAUNCHER_RELEASE_SYSTEM}"
            ${PROJECT_SOURCE_DIR}
            run-tests.cmd=${CMAKE_CURRENT_LIST_DIR}/kit/run-tests.cmd
            README.txt=${CMAKE_CURRENT_LIST_DIR}/kit/README.txt
            launcher.exe=$<TARGET_FILE:launcher>
            help/help.html=${PROJECT_SOURCE_DIR}/help/help.html
            ${entries}
        DEPENDS launcher ${programs} launcher_without_dialog stand_in_emulator
        VERBATIM)
endif()
