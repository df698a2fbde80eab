# Compile settings shared by every target of the project.
#
# Sources are UTF-8; the program's texts are GBK at run time, so string
# literals are re-encoded by the compiler. The platform layer passes
# NATIVE_CHARSET: it carries GBK text as bytes, has no texts of its own, and
# uses standard headers (<chrono>) whose literals have no GBK form.
function(pellor_defaults target)
    cmake_parse_arguments(ARG "NATIVE_CHARSET" "" "" ${ARGN})
    target_compile_options(${target} PRIVATE -Wall -Wextra -finput-charset=UTF-8)
    # clang has no GBK execution character set; it builds only the fuzz
    # targets, for which the texts' encoding does not matter.
    if(NOT ARG_NATIVE_CHARSET AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        target_compile_options(${target} PRIVATE -fexec-charset=GBK)
    endif()
    # Headers are named from the top of the tree ("platform/gdi/Gdi.h"), here
    # and, for what is installed, under the prefix's include folder.
    target_include_directories(${target} PUBLIC $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>)
    if(PELLOR_SANITIZE)
        target_compile_options(${target} PRIVATE
            -fsanitize=${PELLOR_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
        target_link_options(${target} PUBLIC -fsanitize=${PELLOR_SANITIZE})
    endif()
endfunction()

# A GoogleTest program registered with CTest. Its tests are named after the
# program, "game_tests" giving "game.Suite.Case", so a folder's tests can be
# selected with "ctest -R '^game\\.'".
function(pellor_test name)
    add_executable(${name} ${ARGN})
    pellor_defaults(${name})
    target_link_libraries(${name} PRIVATE GTest::gtest GTest::gtest_main)
    string(REGEX REPLACE "_tests$" "" prefix ${name})
    # Asserts are live in the test run (platform/system/Trace.h).
    gtest_discover_tests(${name} TEST_PREFIX "${prefix}." DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT PELLOR_ASSERTS=1)
    # The whole program in one process as well, in three shuffled orders of
    # fixed seeds: no test may lean on what an earlier one left behind. Not
    # in a sanitized build, whose pass of every test is long enough as it is.
    if(NOT PELLOR_SANITIZE)
        foreach(seed 1 2 3)
            add_test(NAME ${prefix}.Shuffled.Seed${seed}
                COMMAND ${name} --gtest_shuffle --gtest_random_seed=${seed})
            set_tests_properties(${prefix}.Shuffled.Seed${seed} PROPERTIES
                ENVIRONMENT PELLOR_ASSERTS=1 TIMEOUT 600)
        endforeach()
    endif()
endfunction()
