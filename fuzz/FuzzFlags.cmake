# SPDX-License-Identifier: MIT
# R718_FUZZ: the whole project instrumented for libFuzzer with AddressSanitizer and
# UndefinedBehaviorSanitizer (clang only: configure with CC=clang CXX=clang++). Included from
# the top before any target exists, so that both libraries and everything else get the flags.
if(R718_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "R718_FUZZ needs clang (CC=clang CXX=clang++)")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined
                        -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
