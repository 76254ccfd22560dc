# An edit to the application manifest reaches the exe on the next build, with no configure step
# by hand: a scratch build of the launcher from a copy of the manifest template, built, the copy
# edited, built again. Run by CTest: cmake -DSOURCE_DIR= -DWORK_DIR= -DGENERATOR=
# -DTOOLCHAIN_FILE= -DBUILD_TYPE= -P manifest_rebuild.cmake
cmake_minimum_required(VERSION 3.25)

set(template ${WORK_DIR}/launcher.manifest.in)
set(build ${WORK_DIR}/build)
set(exe ${build}/dist/launcher.exe)
set(before "<description>A spiffy front end for the Quellix emulator.</description>")
set(after "<description>A spiffy front end, edited after the first build.</description>")

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "failed: ${ARGN}\n${out}")
    endif()
endfunction()

# The exe's texts of at least 20 characters that hold `fragment`.
function(texts_in_exe fragment result)
    file(STRINGS ${exe} found LENGTH_MINIMUM 20 REGEX "${fragment}")
    set(${result} "${found}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
file(COPY_FILE ${SOURCE_DIR}/src/res/launcher.manifest.in ${template})
run(${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${build} -G ${GENERATOR}
    -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN_FILE} -DCMAKE_BUILD_TYPE=${BUILD_TYPE}
    -DLAUNCHER_TESTS=OFF -DLAUNCHER_MANIFEST_TEMPLATE=${template})
run(${CMAKE_COMMAND} --build ${build} --target launcher)
texts_in_exe("spiffy front end for" first)
if(first STREQUAL "")
    message(FATAL_ERROR "the first build's exe lacks the manifest's description")
endif()
file(SHA256 ${exe} first_hash)

file(READ ${template} text)
string(REPLACE "${before}" "${after}" edited "${text}")
if(edited STREQUAL text)
    message(FATAL_ERROR "the manifest has no line `${before}` to edit")
endif()
file(WRITE ${template} "${edited}")
run(${CMAKE_COMMAND} --build ${build} --target launcher)

texts_in_exe("edited after the first build" second)
if(second STREQUAL "")
    file(SHA256 ${exe} second_hash)
    if(second_hash STREQUAL first_hash)
        message(FATAL_ERROR "the edited manifest rebuilt nothing: the exe is unchanged")
    endif()
    message(FATAL_ERROR "the rebuilt exe does not carry the edited manifest")
endif()
message(STATUS "the rebuilt exe carries the edited manifest")
file(REMOVE_RECURSE ${WORK_DIR})
