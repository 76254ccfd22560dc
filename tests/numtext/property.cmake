# Property test of the number texts against exact decimal arithmetic.
# Native only: a sweep of millions of values would take far too long under Wine.
if(NOT WIN32)
    launcher_test(property_test
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/property_test.cpp
                ${CMAKE_CURRENT_LIST_DIR}/property_exact.cpp
        LIBS launcher_core
        LABELS property)
    # The exact arithmetic multiplies numbers of up to 800 digits for every value; unoptimised
    # under the sanitizers the sweep would run for minutes. The sanitizers stay on.
    target_compile_options(property_test PRIVATE -O2)
endif()
