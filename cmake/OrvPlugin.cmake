# The plug-in recipe. One call in OrvPlugins/<Name>/CMakeLists.txt declares
# everything a plug-in is made of:
#
#   orv_plugin(<Name>
#       SOURCES ...                   the converter code: the static library <Name>Core
#       [LIBS ...]                    what the converter links besides the SDK
#       [EXPORTS file]                the five C exports (default: <Name>Exports.cpp)
#       [PARAMETERS file ...]         the parameter files it ships (data/app/Plugins/Parameters/)
#       [TESTS ...] [TEST_LIBS ...]   <Name>Tests, linking <Name>Core; they may dlopen the module
#                                     (ORV_PLUGIN_FILE) and write fuzz seeds into ORV_CORPUS_DIR
#       [PROGRAM_TESTS ...]           <Name>ProgramTests: the real program (ORV_PROGRAM_FILE) on the
#       [PROGRAM_PLUGINS ...]         application folder, with the other plug-ins it needs
#       [PROGRAM_TEST_LIBS ...]       what they link besides Qt (the SDK, to read what it wrote)
#       [FUZZ ...] [FUZZ_LIBS ...]    <Name>Fuzz, a libFuzzer target (ORV_FUZZ=ON with clang)
#       [FUZZ_CORES ...]              other static libraries (cores, codecs) the fuzz target
#                                     compiles instrumented along with <Name>Core
#       [BENCH ...] [BENCH_LIBS ...]  <Name>Bench, a Google Benchmark program; with PROGRAM_PLUGINS
#                                     it may run the program too
#   )
#
# The module is <Name>.so in the application folder's "Plugins"; its base name
# also names its parameter folder. Tests and benchmarks have the plug-in's
# tests/ folder and the shared test support on their include path. Every
# test target receives the same compile definitions: ORV_SOURCE_DIR, ORV_APP_DIR,
# ORV_PLUGIN_FILE, ORV_PROGRAM_FILE, ORV_CORPUS_DIR.

set(ORV_FUZZ_CORPUS_DIR "${CMAKE_BINARY_DIR}/fuzz-corpus" CACHE INTERNAL "Seed corpora the tests write")

# orv_add_plugin(<Name> SOURCES ... [LIBS ...] [OUTPUT_DIR dir])
# Builds <Name>.so as a loadable module in the application folder's "Plugins".
# The module carries its own copy of the SDK and exports only the five C entry points.
function(orv_add_plugin name)
    cmake_parse_arguments(ARG "" "OUTPUT_DIR" "SOURCES;LIBS" ${ARGN})
    if(NOT ARG_OUTPUT_DIR)
        set(ARG_OUTPUT_DIR "${ORV_PLUGIN_DIR}")
    endif()
    add_library(${name} MODULE ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES
        PREFIX ""
        OUTPUT_NAME ${name}
        LIBRARY_OUTPUT_DIRECTORY "${ARG_OUTPUT_DIR}"
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON)
    target_link_options(${name} PRIVATE -Wl,--no-undefined -Wl,--exclude-libs,ALL)
    target_link_libraries(${name} PRIVATE OrvSdk ${ARG_LIBS})
    add_dependencies(${name} orv_appdata)
endfunction()

# orv_add_plugin_core(<Target> SOURCES ... [LIBS ...])
# A plug-in's converter code as a static library, linked by the module, its
# tests and its benchmarks alike; its folder is on the include path.
function(orv_add_plugin_core name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES
        POSITION_INDEPENDENT_CODE ON
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON)
    target_include_directories(${name} PUBLIC "${CMAKE_CURRENT_SOURCE_DIR}")
    target_link_libraries(${name} PUBLIC OrvSdk ${ARG_LIBS})
endfunction()

# orv_add_plugin_fuzz(<Target> CORE <core library> [CORES ...] SOURCES ... [LIBS ...])
# With ORV_FUZZ (clang only): a libFuzzer target. It compiles its own
# instrumented copies of the plug-in's core, of the other static libraries
# named in CORES and of the SDK, so the rest of the build (plug-in modules
# included) stays as it is. Like the tests, it knows ORV_SOURCE_DIR and has the
# shared test support on its include path.
function(orv_add_plugin_fuzz name)
    if(NOT ORV_FUZZ)
        return()
    endif()
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(WARNING "ORV_FUZZ needs clang: ${name} is not built")
        return()
    endif()
    cmake_parse_arguments(ARG "" "CORE" "CORES;SOURCES;LIBS" ${ARGN})
    set(instrument -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                   -fno-omit-frame-pointer -g)
    if(NOT TARGET OrvSdkFuzz)
        get_target_property(sdk_sources OrvSdk SOURCES)
        get_target_property(sdk_dir OrvSdk SOURCE_DIR)
        list(TRANSFORM sdk_sources PREPEND "${sdk_dir}/" REGEX "^[^/]")
        add_library(OrvSdkFuzz STATIC ${sdk_sources})
        set_target_properties(OrvSdkFuzz PROPERTIES AUTOMOC ON)
        target_include_directories(OrvSdkFuzz PUBLIC "${sdk_dir}")
        target_compile_definitions(OrvSdkFuzz PUBLIC QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII)
        target_compile_options(OrvSdkFuzz PRIVATE ${instrument})
        target_link_libraries(OrvSdkFuzz PUBLIC Qt6::Core Qt6::Gui Qt6::Xml)
    endif()
    set(sources ${ARG_SOURCES})
    set(includes "${CMAKE_SOURCE_DIR}/tests/support")
    foreach(core ${ARG_CORE} ${ARG_CORES})
        get_target_property(core_sources ${core} SOURCES)
        get_target_property(core_dir ${core} SOURCE_DIR)
        list(TRANSFORM core_sources PREPEND "${core_dir}/" REGEX "^[^/]")
        get_target_property(core_includes ${core} INCLUDE_DIRECTORIES)
        list(APPEND sources ${core_sources})
        list(APPEND includes ${core_includes})
    endforeach()
    list(REMOVE_DUPLICATES sources)
    add_executable(${name} ${sources})
    target_include_directories(${name} PRIVATE ${includes})
    target_compile_definitions(${name} PRIVATE ORV_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    target_compile_options(${name} PRIVATE ${instrument})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(${name} PRIVATE OrvSdkFuzz ${ARG_LIBS})
endfunction()

function(orv_plugin name)
    cmake_parse_arguments(ARG "" "EXPORTS"
        "SOURCES;LIBS;PARAMETERS;TESTS;TEST_LIBS;PROGRAM_TESTS;PROGRAM_PLUGINS;PROGRAM_TEST_LIBS;FUZZ;FUZZ_LIBS;FUZZ_CORES;BENCH;BENCH_LIBS"
        ${ARGN})
    if(NOT ARG_EXPORTS)
        set(ARG_EXPORTS ${name}Exports.cpp)
    endif()
    foreach(file ${ARG_PARAMETERS})
        if(NOT EXISTS "${ORV_DATA_DIR}/Plugins/Parameters/${file}")
            message(FATAL_ERROR "${name}: parameter file ${file} is not in data/app/Plugins/Parameters")
        endif()
    endforeach()

    orv_add_plugin_core(${name}Core SOURCES ${ARG_SOURCES} LIBS ${ARG_LIBS})
    orv_add_plugin(${name} SOURCES ${ARG_EXPORTS} LIBS ${name}Core)
    set(plugin_tests "${CMAKE_CURRENT_SOURCE_DIR}/tests")

    if(ARG_TESTS)
        orv_add_test(${name}Tests SOURCES ${ARG_TESTS} LIBS ${name}Core ${ARG_TEST_LIBS} DEPENDS ${name})
        if(TARGET ${name}Tests)
            target_include_directories(${name}Tests PRIVATE "${plugin_tests}")
            target_compile_definitions(${name}Tests PRIVATE
                ORV_PLUGIN_FILE="$<TARGET_FILE:${name}>"
                ORV_CORPUS_DIR="${ORV_FUZZ_CORPUS_DIR}/${name}")
        endif()
    endif()
    if(ARG_PROGRAM_TESTS AND TARGET Orvane)
        orv_add_test(${name}ProgramTests SOURCES ${ARG_PROGRAM_TESTS} LIBS Qt6::Core ${ARG_PROGRAM_TEST_LIBS}
            PROGRAM DEPENDS ${name} ${ARG_PROGRAM_PLUGINS})
        if(TARGET ${name}ProgramTests)
            target_include_directories(${name}ProgramTests PRIVATE "${plugin_tests}")
        endif()
    endif()
    if(ARG_BENCH)
        set(bench_program "")
        if(ARG_PROGRAM_PLUGINS AND TARGET Orvane)
            set(bench_program PROGRAM)
        endif()
        orv_add_benchmark(${name}Bench SOURCES ${ARG_BENCH} LIBS ${name}Core ${ARG_BENCH_LIBS}
            ${bench_program} DEPENDS ${name} ${ARG_PROGRAM_PLUGINS})
        if(TARGET ${name}Bench)
            target_include_directories(${name}Bench PRIVATE "${plugin_tests}")
        endif()
    endif()
    if(ARG_FUZZ)
        orv_add_plugin_fuzz(${name}Fuzz CORE ${name}Core CORES ${ARG_FUZZ_CORES}
            SOURCES ${ARG_FUZZ} LIBS ${ARG_FUZZ_LIBS})
    endif()
endfunction()
