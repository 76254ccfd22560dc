# The launcher as a process: started, closed through its window, and the file it leaves.
if(WIN32)
    # The same frame without the resource script, so its window cannot be created.
    add_executable(launcher_without_dialog WIN32 ${LAUNCHER_APP_SOURCES})
    target_compile_options(launcher_without_dialog PRIVATE ${LAUNCHER_PRODUCT_FLAGS})
    target_link_libraries(launcher_without_dialog PRIVATE launcher_ui)

    launcher_test(frame_test
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/frame_test.cpp)
    add_dependencies(frame_test launcher_beside_tests launcher_without_dialog)

    launcher_test(fault_test
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/fault_test.cpp)
    add_dependencies(fault_test launcher_beside_tests stand_in_emulator)
endif()
