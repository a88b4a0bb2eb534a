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
