# Build options shared by every target of the project.

option(SONDREL_WERROR "Treat compiler warnings as errors" OFF)
option(SONDREL_BUILD_TESTS "Build the unit and integration tests" ON)
option(SONDREL_BUILD_BENCH "Build the benchmarks under bench/" ON)
option(SONDREL_FUZZ "Build the parser fuzzers with libFuzzer (needs clang)" OFF)
set(SONDREL_SANITIZE "" CACHE STRING "Sanitizers to build with: address;undefined or thread")

add_library(sondrel_options INTERFACE)
target_compile_options(sondrel_options INTERFACE
    -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
    -Woverloaded-virtual -Wnull-dereference -Wimplicit-fallthrough)
if(SONDREL_WERROR)
    target_compile_options(sondrel_options INTERFACE -Werror)
endif()
# Signals and slots must always name the receiving object, so that a queued
# call lands on the receiver's thread and dies with it.
target_compile_definitions(sondrel_options INTERFACE QT_NO_CONTEXTLESS_CONNECT)

if(SONDREL_SANITIZE)
    string(REPLACE ";" "," _sanitizers "${SONDREL_SANITIZE}")
    add_compile_options(-fsanitize=${_sanitizers} -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=${_sanitizers})
endif()

if(SONDREL_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "SONDREL_FUZZ needs clang (configure with CXX=clang++)")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# Every library includes from the repository root: #include "engine/BufMana.h".
target_include_directories(sondrel_options INTERFACE ${PROJECT_SOURCE_DIR})
