#!/bin/sh
# Installs what the tests need, then builds and runs every test twice, in a
# normal build (warnings as errors) and an AddressSanitizer + UBSan build, and
# runs the static analysis on the first; then cross-builds for Windows and runs
# that build's tests under Wine.
set -eu
cd "$(dirname "$0")/.."
. scripts/packages.sh
sh scripts/install-deps.sh $TEST_PACKAGES

jobs=$(nproc 2>/dev/null || echo 2)
status=0
for preset in ci sanitize mingw; do
    echo "=== $preset build"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    if [ "$preset" = ci ]; then
        sh scripts/lint.sh build || status=1
    fi
    ctest --preset "$preset" -j "$jobs" || status=1
done
exit $status
