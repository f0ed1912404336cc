# SPDX-License-Identifier: MIT
# Run by CPack on the files it is about to package (CPACK_PRE_BUILD_SCRIPTS): strips every
# program as Debian's packaging does, its symbols and also the .comment and .note sections,
# which nothing reads at run time.
if(NOT IS_DIRECTORY "${CPACK_TEMPORARY_DIRECTORY}")
    message(FATAL_ERROR "strip.cmake: no staging folder (CPACK_TEMPORARY_DIRECTORY)")
endif()
file(GLOB_RECURSE files LIST_DIRECTORIES false "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(path IN LISTS files)
    if(IS_SYMLINK "${path}")
        continue()
    endif()
    file(READ "${path}" magic LIMIT 4 HEX)
    if(magic STREQUAL "7f454c46")
        execute_process(
            COMMAND "${CPACK_R718_STRIP}" --remove-section=.comment --remove-section=.note "${path}"
            COMMAND_ERROR_IS_FATAL ANY)
    endif()
endforeach()
