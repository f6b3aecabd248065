# sondrel_add_pulse_gtest(name SOURCES ... LIBS ... LABELS ...)
# A GoogleTest program run as one test through with-pulse.sh, which gives it a private
# PulseAudio server for the length of the run.
function(sondrel_add_pulse_gtest name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
    if(NOT SONDREL_BUILD_TESTS)
        return()
    endif()
    add_executable(${name} ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    target_link_libraries(${name} PRIVATE sondrel_options ${ARG_LIBS} GTest::gtest GTest::gtest_main
                                          Threads::Threads)
    target_compile_definitions(${name} PRIVATE SONDREL_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    add_test(NAME ${name}
             COMMAND ${PROJECT_SOURCE_DIR}/tests/platform/mixer/with-pulse.sh $<TARGET_FILE:${name}>
             WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}")
endfunction()
