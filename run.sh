#!/bin/sh
# Installs what is missing, builds the program and its library only (./test.sh
# builds the rest), and starts norvale with the given options.
#
# With --circuit FILE (anywhere among the options, or --circuit=FILE) it
# builds the circuit in FILE, a C++ file that defines the build function
# simnet, into a program of its own and starts that instead.  The program is
# rebuilt only when FILE, a header it includes or the library changed; it
# lives in build/circuits/.  A file that does not compile leaves the
# compiler's messages on standard error and ends with status 1.
set -e

circuit=""
circuitGiven=false
wantCircuit=false
for argument do
    shift
    if [ $wantCircuit = true ]; then
        circuit=$argument
        wantCircuit=false
        continue
    fi
    case $argument in
    --circuit) wantCircuit=true circuitGiven=true; continue ;;
    --circuit=*) circuit=${argument#--circuit=} circuitGiven=true; continue ;;
    esac
    set -- "$@" "$argument"
done
if [ $circuitGiven = true ] && [ -z "$circuit" ]; then
    echo "run.sh: --circuit needs the name of a circuit file" >&2
    exit 2
fi
if [ -n "$circuit" ]; then
    if [ ! -f "$circuit" ]; then
        echo "run.sh: no circuit file $circuit" >&2
        exit 1
    fi
    case $circuit in /*) ;; *) circuit=$PWD/$circuit ;; esac
fi

cd "$(dirname "$0")"
. ./setup.sh
norvale_install "$NORVALE_PACKAGES"
if [ -z "$circuit" ]; then
    norvale_build_targets norvale
    exec build/norvale "$@"
fi

# One build directory per circuit file: the file's name and a checksum of its
# full path, so that two files of one name do not share a program.
norvale_build_targets norvale_sim norvale_entry
name=$(basename "$circuit")
name=$(printf %s "${name%.*}" | tr -c 'A-Za-z0-9_.-' '_')
[ -n "$name" ] || name=circuit
dir=build/circuits/$name-$(printf %s "$circuit" | cksum | cut -d' ' -f1)
mkdir -p "$dir"
cat >"$dir/CMakeLists.txt.new" <<END
cmake_minimum_required(VERSION 3.16)
project(NorvaleCircuit CXX)
set(CMAKE_BUILD_TYPE RelWithDebInfo)
add_compile_options(-Wall -Wextra)
include([==[$PWD/cmake/NorvaleCircuit.cmake]==])
norvale_add_circuit(circuit [==[$circuit]==])
set_target_properties(circuit PROPERTIES OUTPUT_NAME [==[$name]==])
END
if cmp -s "$dir/CMakeLists.txt.new" "$dir/CMakeLists.txt"; then
    rm "$dir/CMakeLists.txt.new"
else
    mv "$dir/CMakeLists.txt.new" "$dir/CMakeLists.txt"
fi
if [ ! -f "$dir/build/CMakeCache.txt" ]; then
    cmake -S "$dir" -B "$dir/build" >/dev/null
fi
if ! cmake --build "$dir/build" -j2 >&2; then
    echo "run.sh: $circuit did not build" >&2
    exit 1
fi
exec "$dir/build/$name" "$@"
