#!/bin/sh
# Installs what is missing, builds, and starts norvale with the given options.
set -e
cd "$(dirname "$0")"
. ./setup.sh
norvale_install "$NORVALE_PACKAGES"
norvale_build >/dev/null
exec build/norvale "$@"
