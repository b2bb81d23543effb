# Shared by run.sh and test.sh: installs what is missing and builds into build/.
# Sourced, not run.

NORVALE_PACKAGES="cmake g++ make libgtest-dev libx11-dev libxtst-dev xvfb x11-utils"

norvale_install() {
    missing=""
    for pkg in $NORVALE_PACKAGES; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing="$missing $pkg"
    done
    [ -z "$missing" ] && return 0
    echo "Installing:$missing"
    if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
    $sudo apt-get update -q || return 1
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q $missing || return 1
}

norvale_build() {
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null || return 1
    cmake --build build -j2
}
