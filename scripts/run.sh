#!/bin/sh
# Installs what the build needs, builds, and runs ball-trace for a few steps.
set -eu
cd "$(dirname "$0")/.."
. scripts/packages.sh
sh scripts/install-deps.sh $BUILD_PACKAGES
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc 2>/dev/null || echo 2)"
./build/bin/ball-trace 3
