#!/bin/sh
# Installs what is missing, builds, and runs every test under a private X
# server; then, when clang is there, runs the fuzz targets for a fixed number
# of inputs each.  Exits non-zero when any test or fuzz run fails.
set -e
cd "$(dirname "$0")"
. ./setup.sh
norvale_install "$NORVALE_PACKAGES $NORVALE_TEST_PACKAGES"
norvale_build
fuzz=false
if command -v clang++ >/dev/null 2>&1; then
    norvale_build_fuzz
    fuzz=true
else
    echo "clang++ not found: the fuzz stage is skipped" >&2
fi

# A free display number: the first with neither a lock file nor a socket.
display=90
while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do
    display=$((display + 1))
done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
tries=0
until xdpyinfo -display ":$display" >/dev/null 2>&1; do
    tries=$((tries + 1))
    if [ $tries -gt 100 ]; then echo "Xvfb did not start" >&2; exit 1; fi
    sleep 0.1
done

status=0
(cd build && DISPLAY=":$display" ctest --output-on-failure --no-tests=error -j2) || status=1
if [ $fuzz = true ]; then
    echo "Fuzz stage"
    (cd build-fuzz && ctest --output-on-failure --no-tests=error -j2) || status=1
fi
exit $status
