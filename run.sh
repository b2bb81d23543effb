#!/bin/sh
# Installs what is missing, builds the program and its library only (./test.sh
# builds the rest), and starts norvale with the given options.
#
# With --circuit FILE (anywhere among the options, or --circuit=FILE) it
# builds the circuit in FILE, a C++ file that defines the build function
# simnet, into a program of its own and starts that instead.  The program is
# rebuilt only when FILE, a header it includes or the library changed; it
# lives in build/circuits/.  A file that does not compile leaves the
# compiler's messages on standard error and ends with status 1, as does a
# file that defines main.
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

# One build folder per circuit file: its name, made fit for a program's name,
# and a checksum of its full path, so that two files of one name do not share
# a program.  The path itself never reaches CMake or make, since it may hold
# anything a path may (brackets, semicolons, newlines, characters make treats
# specially): the folder reaches the file through two links, source/NAME.cpp
# to the file (compiled as C++ whatever its ending) and folder/ to the folder
# it lies in, which is searched for the headers it includes with "...".
norvale_build_targets norvale_sim norvale_entry
base=${circuit##*/}
name=$(printf %s "${base%.*}" | tr -c 'A-Za-z0-9_.-' '_' | cut -c 1-64)
case $name in
'') name=circuit ;;
[-.]*) name=_${name#?} ;; # not an option, not a hidden or a dot name
esac
folder=${circuit%/*}
[ -n "$folder" ] || folder=/
dir=build/circuits/$name-$(printf %s "$circuit" | cksum | cut -d' ' -f1)
mkdir -p "$dir/source"
[ -L "$dir/source/$name.cpp" ] || ln -s "$circuit" "$dir/source/$name.cpp"
[ -L "$dir/folder" ] || ln -s "$folder" "$dir/folder"
cat >"$dir/CMakeLists.txt.new" <<END
cmake_minimum_required(VERSION 3.16)
project(NorvaleCircuit CXX)
set(CMAKE_BUILD_TYPE RelWithDebInfo)
add_compile_options(-Wall -Wextra)
include("\${CMAKE_CURRENT_LIST_DIR}/../../../cmake/NorvaleCircuit.cmake")
norvale_add_circuit(circuit source/$name.cpp)
target_compile_options(circuit PRIVATE -iquote "\${CMAKE_CURRENT_SOURCE_DIR}/folder")
set_target_properties(circuit PROPERTIES OUTPUT_NAME $name RUNTIME_OUTPUT_DIRECTORY "\${CMAKE_CURRENT_SOURCE_DIR}/bin")
file(GENERATE OUTPUT objects CONTENT "\$<TARGET_OBJECTS:circuit>")
END
if cmp -s "$dir/CMakeLists.txt.new" "$dir/CMakeLists.txt"; then
    rm "$dir/CMakeLists.txt.new"
else
    mv "$dir/CMakeLists.txt.new" "$dir/CMakeLists.txt"
fi
if [ ! -f "$dir/build/CMakeCache.txt" ]; then
    cmake -S "$dir" -B "$dir/build" >/dev/null
fi

# The build's messages, with the links' paths written as the user wrote them
# (the compiler names the files by the links it was given).
asWritten() {
    here=$(pwd -P)
    NORVALE_LINK=$here/$dir/source/$name.cpp NORVALE_FILE=$circuit \
    NORVALE_LINKED=$here/$dir/folder/ NORVALE_FOLDER=${folder%/}/ awk '
        function swap(line, from, to,   out, at) {
            out = ""
            while ((at = index(line, from)) > 0) {
                out = out substr(line, 1, at - 1) to
                line = substr(line, at + length(from))
            }
            return out line
        }
        {
            print swap(swap($0, ENVIRON["NORVALE_LINK"], ENVIRON["NORVALE_FILE"]),
                       ENVIRON["NORVALE_LINKED"], ENVIRON["NORVALE_FOLDER"])
            fflush()
        }'
}
rm -f "$dir/built"
{ cmake --build "$dir/build" -j2 2>&1 && : >"$dir/built"; } | asWritten >&2
if [ ! -e "$dir/built" ]; then
    echo "run.sh: $circuit did not build" >&2
    exit 1
fi
# The program's entry point is Norvale's; a circuit's own main would replace
# it without a word from the linker (an archive's member is taken only for
# what is still missing), so the circuit's object is asked.
if nm -P -g --defined-only "$(cat "$dir/build/objects")" 2>/dev/null | grep -q '^main '; then
    echo "run.sh: $circuit defines main; a circuit defines only the build function simnet, which Norvale's own main calls" >&2
    exit 1
fi
exec "$dir/bin/$name" "$@"
