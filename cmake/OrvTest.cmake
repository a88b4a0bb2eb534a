# The test-support library (tests/support/): builders of MIDI and WAV files,
# byte writers, message capture, a scoped ORVANEDIR, the loaded plug-in module
# and the Qt printers. Every test and benchmark target links it.
if(NOT TARGET OrvTestSupport)
    add_library(OrvTestSupport INTERFACE)
    target_include_directories(OrvTestSupport INTERFACE "${CMAKE_SOURCE_DIR}/tests/support")
    target_link_libraries(OrvTestSupport INTERFACE Qt6::Core ${CMAKE_DL_LIBS})
endif()

# orv_add_test(<Target> SOURCES ... [LIBS ...])
# A GoogleTest executable registered with CTest; every test runs without a display.
function(orv_add_test name)
    if(NOT ORV_TESTS)
        return()
    endif()
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} OrvTestSupport GTest::gtest GTest::gtest_main GTest::gmock)
    target_compile_definitions(${name} PRIVATE
        ORV_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
        ORV_APP_DIR="${ORV_APP_DIR}")
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
endfunction()

# orv_add_benchmark(<Target> SOURCES ... [LIBS ...]): built, never run by CTest.
function(orv_add_benchmark name)
    if(NOT ORV_BENCH OR NOT TARGET benchmark::benchmark)
        return()
    endif()
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} OrvTestSupport benchmark::benchmark benchmark::benchmark_main)
endfunction()
