# The source folders' arrows point one way: a folder includes only from its own level or the
# levels below it. Run as `cmake -DSOURCE_DIR=... -P tests/layers.cmake`; it fails naming every
# include that points up.
set(levels
    app 5
    ui 4
    launch 3
    sysdll 2 handle 2 res 2
    settings 1
    numtext 0)
set(folders "")
while(levels)
    list(POP_FRONT levels folder level)
    set(level_of_${folder} ${level})
    list(APPEND folders ${folder})
endwhile()

set(upward "")
foreach(folder IN LISTS folders)
    file(GLOB_RECURSE files "${SOURCE_DIR}/src/${folder}/*.h" "${SOURCE_DIR}/src/${folder}/*.cpp")
    foreach(file IN LISTS files)
        file(STRINGS "${file}" includes REGEX "^#include \"[a-z]+/")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "^#include \"([a-z]+)/.*" "\\1" target "${line}")
            if(NOT DEFINED level_of_${target})
                list(APPEND upward "${file}: ${line} (a folder of no level)")
            elseif(level_of_${target} GREATER level_of_${folder})
                list(APPEND upward "${file}: ${line}")
            endif()
        endforeach()
    endforeach()
endforeach()
if(upward)
    list(JOIN upward "\n  " text)
    message(FATAL_ERROR "includes that point up:\n  ${text}")
endif()
message(STATUS "every include points down or across")
