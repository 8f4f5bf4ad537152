# The source format is .clang-format read by Debian 12's clang-format 14, pinned here: another
# version formats some constructs differently, and the check would flap between machines.
#   cmake --build build --target format        rewrites every C++ file in place
#   cmake --build build --target format-check  fails, naming the files, when one differs
#   cmake --build build --target include-check also fails on a relative include ("../"); the
#   format check runs it too
add_custom_target(include-check
    COMMAND ${CMAKE_COMMAND} -DSOURCE_ROOT=${PROJECT_SOURCE_DIR} -P ${PROJECT_SOURCE_DIR}/cmake/CheckIncludes.cmake
    COMMENT "Checking that no source includes a header by a relative path out of its folder"
    VERBATIM)

find_program(VESTIBOR_CLANG_FORMAT NAMES clang-format-14)
if(NOT VESTIBOR_CLANG_FORMAT)
    message(STATUS "clang-format-14 not found: the targets format and format-check are not offered")
    return()
endif()

file(GLOB_RECURSE VESTIBOR_FORMATTED_SOURCES CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/src/*.cpp ${PROJECT_SOURCE_DIR}/src/*.h
    ${PROJECT_SOURCE_DIR}/pm41/*.cpp ${PROJECT_SOURCE_DIR}/pm41/*.h
    ${PROJECT_SOURCE_DIR}/tests/*.cpp ${PROJECT_SOURCE_DIR}/tests/*.h
    ${PROJECT_SOURCE_DIR}/bench/*.cpp ${PROJECT_SOURCE_DIR}/bench/*.h
    ${PROJECT_SOURCE_DIR}/tools/*.cpp ${PROJECT_SOURCE_DIR}/tools/*.h)

add_custom_target(format
    COMMAND ${VESTIBOR_CLANG_FORMAT} -i --style=file ${VESTIBOR_FORMATTED_SOURCES}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    COMMENT "Formatting the C++ sources"
    VERBATIM)

add_custom_target(format-check
    COMMAND ${VESTIBOR_CLANG_FORMAT} --dry-run --Werror --style=file ${VESTIBOR_FORMATTED_SOURCES}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    COMMENT "Checking the format of the C++ sources (fix with: cmake --build build --target format)"
    VERBATIM)
add_dependencies(format-check include-check)
