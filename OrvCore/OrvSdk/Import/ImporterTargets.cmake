# Build helpers shared by the import plug-ins (OrvPlugins/<Name>/CMakeLists.txt).

set(ORV_IMPORT_TEST_SUPPORT "${CMAKE_CURRENT_LIST_DIR}/../tests/Import")
set(ORV_FUZZ_CORPUS_DIR "${CMAKE_BINARY_DIR}/fuzz-corpus")

# orv_importer_test(<Name> SOURCES ... LIBS ...)
# The test executable <Name>Tests. It may dlopen the built plug-in (ORV_PLUGIN_FILE)
# and writes the fuzz seed corpus below ORV_CORPUS_DIR.
function(orv_importer_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    orv_add_test(${name}Tests SOURCES ${ARG_SOURCES} LIBS ${ARG_LIBS})
    if(NOT TARGET ${name}Tests)
        return()
    endif()
    add_dependencies(${name}Tests ${name})
    target_include_directories(${name}Tests PRIVATE "${ORV_IMPORT_TEST_SUPPORT}")
    target_compile_definitions(${name}Tests PRIVATE
        ORV_PLUGIN_FILE="$<TARGET_FILE:${name}>"
        ORV_CORPUS_DIR="${ORV_FUZZ_CORPUS_DIR}/${name}")
    target_link_libraries(${name}Tests PRIVATE ${CMAKE_DL_LIBS})
endfunction()

# orv_importer_fuzz(<Name> CORE <core library> SOURCES ... [LIBS ...])
# With ORV_FUZZ (clang only): the libFuzzer target <Name>Fuzz. It compiles its own
# instrumented copies of the plug-in's core and of the SDK, so the rest of the build
# (plug-in modules included) stays as it is.
function(orv_importer_fuzz name)
    if(NOT ORV_FUZZ)
        return()
    endif()
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(WARNING "ORV_FUZZ needs clang: ${name}Fuzz is not built")
        return()
    endif()
    cmake_parse_arguments(ARG "" "CORE" "SOURCES;LIBS" ${ARGN})
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
    get_target_property(core_sources ${ARG_CORE} SOURCES)
    get_target_property(core_includes ${ARG_CORE} INCLUDE_DIRECTORIES)
    add_executable(${name}Fuzz ${ARG_SOURCES} ${core_sources})
    target_include_directories(${name}Fuzz PRIVATE ${core_includes})
    target_compile_options(${name}Fuzz PRIVATE ${instrument})
    target_link_options(${name}Fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(${name}Fuzz PRIVATE OrvSdkFuzz ${ARG_LIBS})
endfunction()
