# The end-to-end suite: the real launcher.exe under Wine, driven with mouse and keyboard
# through X, checked by what the stand-in emulator receives and what the settings file holds.
if(WIN32)
    # Reads what the launcher window shows; the suite's input goes through X only.
    add_executable(e2e_probe ${CMAKE_CURRENT_LIST_DIR}/probe.cpp)
    target_compile_options(e2e_probe PRIVATE ${LAUNCHER_WARNINGS})
    target_link_libraries(e2e_probe PRIVATE launcher_core)

    # The system's Python, where tools/setup.sh installs python3-xlib for the drops (a Python
    # of one's own earlier on PATH may lack it).
    find_program(LAUNCHER_E2E_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH)
    if(NOT LAUNCHER_E2E_PYTHON)
        set(LAUNCHER_E2E_PYTHON python3)
    endif()
    add_test(NAME e2e_test
        COMMAND ${LAUNCHER_E2E_PYTHON} -B ${CMAKE_CURRENT_LIST_DIR}/e2e_test.py
            --launcher $<TARGET_FILE:launcher>
            --emulator $<TARGET_FILE:stand_in_emulator>
            --help-page ${PROJECT_SOURCE_DIR}/help/help.html
            --probe $<TARGET_FILE:e2e_probe>
            --work-dir ${CMAKE_CURRENT_BINARY_DIR}/e2e)
    # One display and one launcher at a time: the suite must not share either with the other
    # Wine tests, which is what RUN_SERIAL gives.
    set_tests_properties(e2e_test PROPERTIES
        TIMEOUT 900 SKIP_RETURN_CODE 77 RUN_SERIAL TRUE LABELS e2e)
endif()
