# Helpers that give every executable, test and fuzzer of the project the same shape.

# The version note: every executable we ship carries its file version in an ELF
# note (owner "Sondrel", type NT_VERSION), which `readelf -n` shows and the
# file-version utility reads back.
configure_file(${CMAKE_CURRENT_LIST_DIR}/VersionNote.cpp.in
               ${CMAKE_BINARY_DIR}/generated/VersionNote.cpp @ONLY)
add_library(sondrel_version_note OBJECT ${CMAKE_BINARY_DIR}/generated/VersionNote.cpp)
target_link_libraries(sondrel_version_note PRIVATE sondrel_options)

# sondrel_add_executable(name SOURCES ... LIBS ...)
function(sondrel_add_executable name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES} $<TARGET_OBJECTS:sondrel_version_note>)
    target_link_libraries(${name} PRIVATE sondrel_options ${ARG_LIBS})
endfunction()

# sondrel_add_gtest_executable(name SOURCES ... LIBS ...)
# A GoogleTest program in build*/tests/, without registering its tests.
function(sondrel_add_gtest_executable name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    target_link_libraries(${name} PRIVATE sondrel_options ${ARG_LIBS} GTest::gtest GTest::gtest_main
                                          Threads::Threads)
    target_compile_definitions(${name} PRIVATE
        SONDREL_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        SONDREL_PROGRAM_DIR="${SONDREL_PROGRAM_DIR}")
endfunction()

# The test programs labelled "engine", which the ThreadSanitizer run builds
# and runs on their own.
add_custom_target(sondrel_engine_tests)

# sondrel_add_gtest(name SOURCES ... LIBS ... [LABELS ...])
# The test runs in the folder of the test programs, beside the staged data files.
function(sondrel_add_gtest name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
    if(NOT SONDREL_BUILD_TESTS)
        return()
    endif()
    sondrel_add_gtest_executable(${name} SOURCES ${ARG_SOURCES} LIBS ${ARG_LIBS})
    gtest_discover_tests(${name}
        WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests
        PROPERTIES LABELS "${ARG_LABELS}"
                   ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
        DISCOVERY_TIMEOUT 60)
    if("engine" IN_LIST ARG_LABELS)
        add_dependencies(sondrel_engine_tests ${name})
    endif()
endfunction()

# sondrel_add_fuzzer(name SOURCE file LIBS ... CORPUS dir)
# With SONDREL_FUZZ the target is a libFuzzer binary. Otherwise it is built
# with a small driver that replays the seed corpus and a fixed set of
# pseudo-random inputs, so every test run exercises the parser's edge cases.
function(sondrel_add_fuzzer name)
    cmake_parse_arguments(ARG "" "SOURCE;CORPUS" "LIBS" ${ARGN})
    if(SONDREL_FUZZ)
        add_executable(${name} ${ARG_SOURCE})
        target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    elseif(SONDREL_BUILD_TESTS)
        add_executable(${name} ${ARG_SOURCE} ${PROJECT_SOURCE_DIR}/tests/fuzz/ReplayMain.cpp)
        add_test(NAME ${name}.replay COMMAND ${name} ${ARG_CORPUS})
        set_tests_properties(${name}.replay PROPERTIES LABELS "fuzz")
    else()
        return()
    endif()
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
    target_link_libraries(${name} PRIVATE sondrel_options ${ARG_LIBS})
endfunction()

# sondrel_add_benchmark(name SOURCES ... LIBS ... [WRAPPER script])
# Each benchmark program is also a test labelled "bench": run once in quick
# mode (bench/BenchQuick.h), so that none can hang or stop working unseen.
# WRAPPER runs it inside a script, such as the private PulseAudio server's.
function(sondrel_add_benchmark name)
    cmake_parse_arguments(ARG "" "WRAPPER" "SOURCES;LIBS" ${ARGN})
    if(NOT SONDREL_BUILD_BENCH)
        return()
    endif()
    find_package(benchmark REQUIRED)
    add_executable(${name} ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
    target_link_libraries(${name} PRIVATE sondrel_options ${ARG_LIBS} benchmark::benchmark
                                          Threads::Threads)
    add_test(NAME bench.${name}
             COMMAND ${ARG_WRAPPER} $<TARGET_FILE:${name}> --benchmark_min_time=0.01
             WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
    set_tests_properties(bench.${name} PROPERTIES
        LABELS bench TIMEOUT 240 SKIP_RETURN_CODE 77
        ENVIRONMENT "SONDREL_BENCH_QUICK=1;SONDREL_BENCH_CAPTURE_SECONDS=1;SONDREL_BENCH_DISPLAY_SECONDS=1;QT_QPA_PLATFORM=offscreen")
endfunction()
