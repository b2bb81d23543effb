# norvale_add_circuit(NAME SOURCES...): a program NAME made of the SOURCES (a
# circuit: one of them defines the build function `void simnet()`) and
# Norvale's entry point, linked with the simulator's library.  The program
# takes the same command line as `norvale`.
#
# Inside Norvale's own build (the library target norvale_sim exists) the
# circuit links that target.  In a project of its own, include this file after
# project(); it links the libraries that Norvale's `./run.sh` built, found in
# NORVALE_BUILD_DIR (default: build/ beside this file's folder):
#
#     cmake_minimum_required(VERSION 3.16)
#     project(MyCircuits CXX)
#     include(/path/to/norvale/cmake/NorvaleCircuit.cmake)
#     norvale_add_circuit(counter counter.cpp)
#
# A program is relinked when those library files change.
include_guard(GLOBAL)

get_filename_component(NORVALE_SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)

if(TARGET norvale_sim)
    # The program's entry point (key help, then the simulator on simnet),
    # compiled once for every circuit.  A library of its own, so that a
    # circuit built outside this tree links it as it is.
    add_library(norvale_entry STATIC ${NORVALE_SOURCE_DIR}/core/main.cpp)
    target_link_libraries(norvale_entry PUBLIC norvale_sim)
else()
    set(NORVALE_BUILD_DIR ${NORVALE_SOURCE_DIR}/build CACHE PATH "Norvale's build directory (holds its libraries)")
    foreach(library norvale_sim norvale_entry)
        if(NOT EXISTS ${NORVALE_BUILD_DIR}/lib${library}.a)
            message(FATAL_ERROR "Norvale's library ${NORVALE_BUILD_DIR}/lib${library}.a is not built yet: run "
                                "${NORVALE_SOURCE_DIR}/run.sh -E once, or set NORVALE_BUILD_DIR to a Norvale build folder.")
        endif()
    endforeach()
    find_package(X11 REQUIRED)
    add_library(norvale_sim STATIC IMPORTED)
    set_target_properties(norvale_sim PROPERTIES
        IMPORTED_LOCATION ${NORVALE_BUILD_DIR}/libnorvale_sim.a
        INTERFACE_INCLUDE_DIRECTORIES ${NORVALE_SOURCE_DIR}
        INTERFACE_LINK_LIBRARIES X11::X11
        INTERFACE_COMPILE_FEATURES cxx_std_17)
    add_library(norvale_entry STATIC IMPORTED)
    set_target_properties(norvale_entry PROPERTIES
        IMPORTED_LOCATION ${NORVALE_BUILD_DIR}/libnorvale_entry.a
        INTERFACE_LINK_LIBRARIES norvale_sim)
endif()

function(norvale_add_circuit name)
    if(NOT ARGN)
        message(FATAL_ERROR "norvale_add_circuit(${name}): no source files given")
    endif()
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE norvale_entry)
endfunction()
