# Number texts: formatting and parsing of reals and integers (portable core).
launcher_test(number_text_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/number_text_test.cpp
    LIBS launcher_core)
