# vembra_gtest(name SOURCES ... LIBS ... [WIDGETS])
# A GoogleTest executable whose cases are each their own ctest entry. Every test runs on Qt's
# offscreen platform with its own home, so no test touches the user's settings or data.
add_library(vembra_test_main STATIC ${PROJECT_SOURCE_DIR}/tests/support/qt_test_main.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/temp_home.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/work_files.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/app_folder.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/image_difference.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/companion_run.cpp)
# The main-window fixture, for the tests of the window.
add_library(vembra_window_fixture STATIC ${PROJECT_SOURCE_DIR}/tests/support/window_fixture.cpp)
target_link_libraries(vembra_window_fixture PUBLIC vembra_test_main vembra_ui PRIVATE vembra_warnings)
target_compile_definitions(vembra_test_main PUBLIC VEMBRA_BIN_DIR="${CMAKE_RUNTIME_OUTPUT_DIRECTORY}"
    VEMBRA_TEST_FIXTURES="${PROJECT_SOURCE_DIR}/tests/fixtures")
target_include_directories(vembra_test_main PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(vembra_test_main PUBLIC GTest::gtest Qt6::Widgets Qt6::Test vembra_folders
    PRIVATE vembra_warnings)

function(vembra_gtest name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE vembra_test_main ${ARG_LIBS} vembra_warnings)
    add_dependencies(${name} vembra_template)
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
endfunction()
