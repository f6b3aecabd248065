# The private X server of tests/support/with-xvfb.sh for tests that need a
# display. Without Xvfb the script exits 77: the test skips.
set(SONDREL_WITH_XVFB ${PROJECT_SOURCE_DIR}/tests/support/with-xvfb.sh)

# sondrel_add_xvfb_gtest(name SOURCES ... LIBS ... LABELS ...)
# A GoogleTest program run as one test through with-xvfb.sh.
function(sondrel_add_xvfb_gtest name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
    if(NOT SONDREL_BUILD_TESTS)
        return()
    endif()
    sondrel_add_gtest_executable(${name} SOURCES ${ARG_SOURCES} LIBS ${ARG_LIBS})
    add_test(NAME ${name} COMMAND ${SONDREL_WITH_XVFB} $<TARGET_FILE:${name}>
             WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}" SKIP_RETURN_CODE 77
                                            TIMEOUT 300)
endfunction()
