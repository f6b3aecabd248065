# sondrel_add_subdirectories(): adds every direct subfolder that has a
# CMakeLists.txt. Targets refer to each other by name, so the order does not
# matter to CMake; which way the dependencies may point is set out in
# docs/architecture.md and checked by the headless targets.
function(sondrel_add_subdirectories)
    file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
         ${CMAKE_CURRENT_SOURCE_DIR}/*)
    list(SORT children)
    foreach(child IN LISTS children)
        if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
            add_subdirectory(${child})
        endif()
    endforeach()
endfunction()
