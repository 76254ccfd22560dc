# The launcher as a process: started, closed through its window, and the file it leaves.
if(WIN32)
    # The same frame without the resource script, so its window cannot be created.
    add_executable(launcher_without_dialog WIN32 ${LAUNCHER_APP_SOURCES})
    target_compile_options(launcher_without_dialog PRIVATE ${LAUNCHER_PRODUCT_FLAGS})
    target_link_libraries(launcher_without_dialog PRIVATE launcher_ui)

    launcher_test(frame_test
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/frame_test.cpp)
    target_include_directories(frame_test PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
    target_compile_definitions(frame_test PRIVATE
        LAUNCHER_EXE="$<TARGET_FILE:launcher>"
        LAUNCHER_WITHOUT_DIALOG_EXE="$<TARGET_FILE:launcher_without_dialog>"
        LOAD_TIME_IMPORTS="${PROJECT_SOURCE_DIR}/tests/support/load_time_imports.txt")
    add_dependencies(frame_test launcher launcher_without_dialog)

    launcher_test(fault_test
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/fault_test.cpp)
    target_include_directories(fault_test PRIVATE ${CMAKE_CURRENT_LIST_DIR}/.. ${PROJECT_SOURCE_DIR}/src)
    target_compile_definitions(fault_test PRIVATE
        LAUNCHER_EXE="$<TARGET_FILE:launcher>"
        STAND_IN_EMULATOR="$<TARGET_FILE:stand_in_emulator>")
    add_dependencies(fault_test launcher stand_in_emulator)
endif()
