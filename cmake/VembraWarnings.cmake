# Warnings and Qt strictness shared by every target of the project.
add_library(vembra_warnings INTERFACE)
if(MSVC)
    target_compile_options(vembra_warnings INTERFACE /W4 /permissive- /utf-8)
else()
    target_compile_options(vembra_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow)
endif()
target_compile_definitions(vembra_warnings INTERFACE
    QT_NO_CAST_FROM_BYTEARRAY
    QT_NO_URL_CAST_FROM_STRING
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)

# vembra_library(name SOURCES ... [PUBLIC_LIBS ...] [PRIVATE_LIBS ...])
# One static library per folder; its folder's parent is on the include path, so code includes
# "platform/sqlite/sqlite_database.h" and the like.
function(vembra_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/generated)
    target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE vembra_warnings ${ARG_PRIVATE_LIBS})
endfunction()
