# norvale_add_circuit(NAME SOURCES...): a program NAME made of the SOURCES (a
# circuit: one of them defines the build function `void simnet()`) and
# Norvale's entry point, linked with the simulator's library.  The program
# takes the same command line as `norvale`.
#
# Inside Norvale's own build (the library target norvale_sim exists) the
# circuit links that target.  In a project of its own, include this file after
# project(); it links the library that Norvale's `./run.sh` built, found in
# NORVALE_BUILD_DIR (default: build/ beside this file's folder):
#
#     cmake_minimum_required(VERSION 3.16)
#     project(MyCircuits CXX)
#     include(/path/to/norvale/cmake/NorvaleCircuit.cmake)
#     norvale_add_circuit(counter counter.cpp)
#
# A program is relinked when that library file changes.
include_guard(GLOBAL)

get_filename_component(NORVALE_SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)

if(NOT TARGET norvale_sim)
    set(NORVALE_BUILD_DIR ${NORVALE_SOURCE_DIR}/build CACHE PATH "Norvale's build directory (holds libnorvale_sim.a)")
    set(library ${NORVALE_BUILD_DIR}/libnorvale_sim.a)
    if(NOT EXISTS ${library})
        message(FATAL_ERROR "Norvale's library ${library} is not built yet: run ${NORVALE_SOURCE_DIR}/run.sh -E once, "
                            "or set NORVALE_BUILD_DIR to a Norvale build directory.")
    endif()
    find_package(X11 REQUIRED)
    add_library(norvale_sim STATIC IMPORTED)
    set_target_properties(norvale_sim PROPERTIES
        IMPORTED_LOCATION ${library}
        INTERFACE_INCLUDE_DIRECTORIES ${NORVALE_SOURCE_DIR}
        INTERFACE_LINK_LIBRARIES X11::X11
        INTERFACE_COMPILE_FEATURES cxx_std_17)
endif()

# The program's entry point (key help, then the simulator on simnet), compiled
# once and linked into every circuit.
add_library(norvale_entry OBJECT ${NORVALE_SOURCE_DIR}/core/main.cpp)
target_link_libraries(norvale_entry PRIVATE norvale_sim)

function(norvale_add_circuit name)
    if(NOT ARGN)
        message(FATAL_ERROR "norvale_add_circuit(${name}): no source files given")
    endif()
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE norvale_entry norvale_sim)
endfunction()
