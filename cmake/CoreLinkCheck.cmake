# SPDX-License-Identifier: MIT
# The rules live in r718core, which links no widgets: r718core, the core tests
# (r718_add_core_test), r718-sim and the other programs without widgets must not reach Qt Widgets,
# Qt Charts, Qt PrintSupport, Qt Svg, Qt Gui or r718ui through any library they link.
#
# r718_check_core_links() checks it three times:
#   - when CMake configures: the link libraries of each of them, followed through every
#     library they name, must not contain one of those targets (configuring fails, naming the
#     chain that leads there);
#   - as the test core_links_no_widgets: the built programs must not load one of those
#     libraries (ldd);
#   - as the test core_includes_no_widgets: no file under src/core/ includes a header of those
#     modules or names QWidget.

set(R718_NOT_FOR_LOGIC Qt6::Widgets Qt6::Charts Qt6::PrintSupport Qt6::Svg Qt6::Gui r718ui)

# The targets named by one entry of a LINK_LIBRARIES or INTERFACE_LINK_LIBRARIES list.
function(_r718_linked_target item out)
    set(${out} "" PARENT_SCOPE)
    # Entries added from another folder are fenced by ::@(directory) markers.
    if(item MATCHES "^::@")
        return()
    endif()
    # A static library passes its private libraries on as $<LINK_ONLY:...>.
    if(item MATCHES "^\\$<LINK_ONLY:([^>]+)>$")
        set(item ${CMAKE_MATCH_1})
    endif()
    if(NOT TARGET ${item})
        return()
    endif()
    get_target_property(aliased ${item} ALIASED_TARGET)
    if(aliased)
        set(item ${aliased})
    endif()
    set(${out} ${item} PARENT_SCOPE)
endfunction()

# Fails when `start` reaches one of R718_NOT_FOR_LOGIC.
function(_r718_check_no_widgets start)
    set(queue ${start})
    set(seen ${start})
    while(queue)
        list(POP_FRONT queue current)
        get_target_property(type ${current} TYPE)
        set(links "")
        if(NOT type STREQUAL "INTERFACE_LIBRARY")
            get_target_property(direct ${current} LINK_LIBRARIES)
            if(direct)
                list(APPEND links ${direct})
            endif()
        endif()
        get_target_property(interface ${current} INTERFACE_LINK_LIBRARIES)
        if(interface)
            list(APPEND links ${interface})
        endif()
        foreach(item IN LISTS links)
            _r718_linked_target("${item}" next)
            if(NOT next OR next IN_LIST seen)
                continue()
            endif()
            list(APPEND seen ${next})
            string(MAKE_C_IDENTIFIER "${next}" next_id)
            string(MAKE_C_IDENTIFIER "${current}" current_id)
            if(current STREQUAL start)
                set(via_${next_id} "${start} -> ${next}")
            else()
                set(via_${next_id} "${via_${current_id}} -> ${next}")
            endif()
            if(next IN_LIST R718_NOT_FOR_LOGIC)
                message(FATAL_ERROR "${start} must not link ${next} (the rules link no widgets, "
                    "charts or painting): ${via_${next_id}}")
            endif()
            list(APPEND queue ${next})
        endforeach()
    endwhile()
endfunction()

function(r718_check_core_links)
    get_property(tests GLOBAL PROPERTY R718_CORE_TESTS)
    set(programs r718-sim met_saver history_writer bench_link bench_report)
    foreach(target r718core r718testsupport ${programs} ${tests})
        _r718_check_no_widgets(${target})
    endforeach()

    set(files "")
    foreach(target ${programs} ${tests})
        list(APPEND files $<TARGET_FILE:${target}>)
    endforeach()
    add_test(NAME core_links_no_widgets
        COMMAND bash ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/check_core_binaries.sh ${files})
    set_tests_properties(core_links_no_widgets PROPERTIES TIMEOUT 60)

    # And the sources: no file under src/core/ includes a header of those modules.
    set(module_folders "")
    foreach(module Widgets Gui Charts PrintSupport Svg)
        get_target_property(dirs Qt6::${module} INTERFACE_INCLUDE_DIRECTORIES)
        foreach(dir ${dirs})
            if(dir MATCHES "/Qt${module}$")
                list(APPEND module_folders ${dir})
            endif()
        endforeach()
    endforeach()
    add_test(NAME core_includes_no_widgets
        COMMAND bash ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/check_core_includes.sh
            ${PROJECT_SOURCE_DIR}/src/core ${module_folders})
    set_tests_properties(core_includes_no_widgets PROPERTIES TIMEOUT 60)
endfunction()
