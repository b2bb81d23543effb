# Shared by run.sh and test.sh: installs what is missing and builds into build/.
# Sourced, not run.

# What building and running needs.
NORVALE_PACKAGES="cmake g++ make libgtest-dev libx11-dev libxtst-dev"
# What the tests need besides: a private X server, clang with its fuzzer and
# sanitizer runtimes for the fuzz stage, and gtkwave for its vcd2fst, which
# checks the value change dumps.
NORVALE_TEST_PACKAGES="xvfb x11-utils clang libclang-rt-14-dev gtkwave"

# Installs the packages named in $1 that are not installed yet.
norvale_install() {
    missing=""
    for pkg in $1; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing="$missing $pkg"
    done
    [ -z "$missing" ] && return 0
    echo "Installing:$missing"
    if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
    $sudo apt-get update -q || return 1
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q $missing || return 1
}

# Configures and builds everything into build/ with the default compiler.
norvale_build() {
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null || return 1
    cmake --build build -j2
}

# Builds only the targets named ($@) in build/, configuring it first when it
# is new (later builds reconfigure by themselves when a CMake file changed),
# with CMake's progress lines on standard error, where they do not mix with
# what a program writes to standard output.
norvale_build_targets() {
    if [ ! -f build/CMakeCache.txt ]; then
        cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || return 1
    fi
    cmake --build build -j2 --target "$@" >&2
}

# Configures and builds the fuzz targets into build-fuzz/ with clang (the
# library instrumented for libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer); the tests and the program are not built there.
norvale_build_fuzz() {
    CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNORVALE_FUZZ=ON \
        -DBUILD_TESTING=OFF >/dev/null || return 1
    cmake --build build-fuzz -j2 --target fuzz_targets
}
