# Refuses a relative include that climbs out of its folder ("../"): it would reach another
# layer's header around the include roots that keep each layer to the ones below it.
#   cmake -DSOURCE_ROOT=<repository> -P cmake/CheckIncludes.cmake
# Fails, naming each file and line, when one is found.
file(GLOB_RECURSE sources
    ${SOURCE_ROOT}/src/*.cpp ${SOURCE_ROOT}/src/*.h
    ${SOURCE_ROOT}/pm41/*.cpp ${SOURCE_ROOT}/pm41/*.h
    ${SOURCE_ROOT}/tests/*.cpp ${SOURCE_ROOT}/tests/*.h
    ${SOURCE_ROOT}/bench/*.cpp ${SOURCE_ROOT}/bench/*.h
    ${SOURCE_ROOT}/tools/*.cpp ${SOURCE_ROOT}/tools/*.h)
set(found "")
foreach(source ${sources})
    file(STRINGS ${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]\\.\\./")
    foreach(line ${lines})
        file(RELATIVE_PATH name ${SOURCE_ROOT} ${source})
        string(STRIP "${line}" line)
        string(APPEND found "\n  ${name}: ${line}")
    endforeach()
endforeach()
if(found)
    message(FATAL_ERROR "Relative includes that climb out of their folder; include through the layer's root "
                        "(\"store/DataSet.h\") instead:${found}")
endif()
