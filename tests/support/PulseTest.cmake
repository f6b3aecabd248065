# The private PulseAudio server of tests/support/with-pulse.sh for tests that
# need a sound server. Without PulseAudio the script exits 77: the test skips.
set(SONDREL_WITH_PULSE ${PROJECT_SOURCE_DIR}/tests/support/with-pulse.sh)

# sondrel_add_pulse_test(NAME name COMMAND ... [LABELS ...])
# One test whose command runs inside with-pulse.sh.
function(sondrel_add_pulse_test)
    cmake_parse_arguments(ARG "" "NAME" "COMMAND;LABELS" ${ARGN})
    add_test(NAME ${ARG_NAME} COMMAND ${SONDREL_WITH_PULSE} ${ARG_COMMAND}
             WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    set_tests_properties(${ARG_NAME} PROPERTIES LABELS "${ARG_LABELS}" SKIP_RETURN_CODE 77
                                                TIMEOUT 300)
endfunction()

# sondrel_add_pulse_gtest(name SOURCES ... LIBS ... LABELS ...)
# A GoogleTest program run as one test through with-pulse.sh.
function(sondrel_add_pulse_gtest name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
    if(NOT SONDREL_BUILD_TESTS)
        return()
    endif()
    sondrel_add_gtest_executable(${name} SOURCES ${ARG_SOURCES} LIBS ${ARG_LIBS})
    sondrel_add_pulse_test(NAME ${name} COMMAND $<TARGET_FILE:${name}> LABELS ${ARG_LABELS})
    if("engine" IN_LIST ARG_LABELS)
        add_dependencies(sondrel_engine_tests ${name})
    endif()
endfunction()
