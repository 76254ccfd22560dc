# Cross-compiles for 64-bit Windows with mingw-w64: the same sources as the 32-bit launcher, for
# running its Windows tests under 64-bit Wine on machines that cannot run 32-bit code.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
