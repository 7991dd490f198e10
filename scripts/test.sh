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
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for preset in ci sanitize mingw; do
    echo "=== $preset build"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    if [ "$preset" = ci ]; then
        sh scripts/lint.sh build || status=1
    fi
    { ctest --preset "$preset" -j "$jobs"; echo $? >"$work/rc"; } 2>&1 | tee "$work/log"
    [ "$(cat "$work/rc")" -eq 0 ] || status=1
    # A run that found no tests counts as one failure.
    grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$work/log" >>"$work/summaries" ||
        echo "0% tests passed, 1 tests failed out of 1" >>"$work/summaries"
done
# One closing line over the three builds.
awk '{ failed += $4; total += $9 } END { printf "all builds: %d passed, %d failed\n", total - failed, failed }' \
    "$work/summaries"
exit $status
