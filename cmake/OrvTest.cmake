# The test-support library (tests/support/): builders of MIDI and WAV files,
# byte writers, message capture, a scoped ORVANEDIR, the loaded plug-in module,
# the importers' test frame and the Qt printers. Every test and benchmark
# target links it.
if(NOT TARGET OrvTestSupport)
    add_library(OrvTestSupport INTERFACE)
    target_include_directories(OrvTestSupport INTERFACE "${CMAKE_SOURCE_DIR}/tests/support")
    target_link_libraries(OrvTestSupport INTERFACE Qt6::Core ${CMAKE_DL_LIBS})
endif()

# What tests and benchmarks may know about the build: the source tree, the
# application folder and, with PROGRAM, the program (which is then built first).
function(_orv_test_context name program)
    target_compile_definitions(${name} PRIVATE
        ORV_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
        ORV_APP_DIR="${ORV_APP_DIR}")
    if(program)
        target_compile_definitions(${name} PRIVATE ORV_PROGRAM_FILE="$<TARGET_FILE:Orvane>")
        add_dependencies(${name} Orvane)
    endif()
endfunction()

# orv_add_test(<Target> SOURCES ... [LIBS ...] [PROGRAM] [DEPENDS target ...])
# A GoogleTest executable registered with CTest; every test runs without a display.
# DEPENDS names what must be built before it runs (plug-ins it loads).
function(orv_add_test name)
    if(NOT ORV_TESTS)
        return()
    endif()
    cmake_parse_arguments(ARG "PROGRAM" "" "SOURCES;LIBS;DEPENDS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} OrvTestSupport GTest::gtest GTest::gtest_main GTest::gmock)
    # The code under test keeps its optimised build; the test code itself gains
    # nothing from it and compiles in about half the time without.
    target_compile_options(${name} PRIVATE $<$<CONFIG:RelWithDebInfo>:-O0 -g1>)
    _orv_test_context(${name} "${ARG_PROGRAM}")
    if(ARG_DEPENDS)
        add_dependencies(${name} ${ARG_DEPENDS})
    endif()
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
endfunction()

# orv_add_benchmark(<Target> SOURCES ... [LIBS ...] [PROGRAM] [DEPENDS target ...]):
# built, never run by CTest.
function(orv_add_benchmark name)
    if(NOT ORV_BENCH OR NOT TARGET benchmark::benchmark)
        return()
    endif()
    cmake_parse_arguments(ARG "PROGRAM" "" "SOURCES;LIBS;DEPENDS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} OrvTestSupport benchmark::benchmark benchmark::benchmark_main)
    _orv_test_context(${name} "${ARG_PROGRAM}")
    if(ARG_DEPENDS)
        add_dependencies(${name} ${ARG_DEPENDS})
    endif()
endfunction()

# Lets a test fail allocations in its own process (tests/support/FailingAllocations.h). Not under
# AddressSanitizer, whose allocator it would bypass: the cases that use it check ORV_FAILING_ALLOCATIONS.
function(orv_fail_allocations target)
    if(NOT ORV_SANITIZE)
        target_sources(${target} PRIVATE "${CMAKE_SOURCE_DIR}/tests/support/FailingAllocations.cpp")
        target_compile_definitions(${target} PRIVATE ORV_FAILING_ALLOCATIONS)
    endif()
endfunction()
