# SPDX-License-Identifier: MIT
# Debian's hardening flags for the optimised builds: what dpkg-buildflags gives with every
# hardening feature on (stack protector, _FORTIFY_SOURCE, format checks, relocations read-only
# and bound at start). Every such build has them, not only the package's, so that the tests
# run the programs the package holds. The build type keeps deciding optimisation and debug
# information: the -O, -g and path-mapping flags of dpkg-buildflags are left out. The sanitizer
# and fuzz builds (Debug, clang) bring their own instrumentation and go without.
option(R718_HARDENING "Build the optimised build types with Debian's hardening flags" ON)

function(r718_apply_hardening_flags)
    if(NOT R718_HARDENING OR R718_SANITIZE OR R718_FUZZ
       OR NOT CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$")
        return()
    endif()
    find_program(DPKG_BUILDFLAGS dpkg-buildflags)
    if(NOT DPKG_BUILDFLAGS)
        message(WARNING "dpkg-buildflags (package dpkg-dev) not found: built without Debian's "
            "hardening flags")
        return()
    endif()
    set(flags)
    foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
        execute_process(
            COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                ${DPKG_BUILDFLAGS} --get ${kind}
            OUTPUT_VARIABLE value OUTPUT_STRIP_TRAILING_WHITESPACE
            COMMAND_ERROR_IS_FATAL ANY)
        separate_arguments(value UNIX_COMMAND "${value}")
        list(FILTER value EXCLUDE REGEX "^-(O.*|g.*|f.*prefix-map=.*)$")
        set(${kind} ${value})
        list(APPEND flags ${value})
    endforeach()
    add_compile_options(${CPPFLAGS} ${CXXFLAGS})
    add_link_options(${LDFLAGS})
    list(JOIN flags " " shown)
    message(STATUS "Hardening flags (dpkg-buildflags): ${shown}")
endfunction()
