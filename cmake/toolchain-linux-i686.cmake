# Builds the portable core and its tests with the host g++ as 32-bit x86 code: x87 floating point
# with 80-bit intermediates (FLT_EVAL_METHOD 2), as in the 32-bit launcher. A toolchain of its
# own makes the build a cross build, so CTest starts the programs through the runner below.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT -m32)
set(CMAKE_CXX_FLAGS_INIT -m32)
set(CMAKE_EXE_LINKER_FLAGS_INIT -m32)
# Directly where the kernel runs 32-bit programs, through qemu-i386 where it refuses them.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/run-i386.sh)
