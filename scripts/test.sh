#!/bin/sh
# Installs what the tests need, then builds and tests every preset in turn: a
# release build with warnings as errors (plus the static analysis), an
# AddressSanitizer + UBSan build, the Windows cross-build under Wine, and the
# builds that must print the same trajectory (clang, i686, aarch64, s390x,
# riscv64, ppc64el and armhf under qemu, and i686 Windows, which is only built
# and flag-checked), and the WebAssembly build with its page in headless Chromium.
# Prints each preset's wall time as it ends and the total, then closes with one
# line over all of them and exits non-zero when anything failed: a configure,
# a build, the lint, a test, or a build that ran no test.
set -eu
start=$(date +%s)
cd "$(dirname "$0")/.."
. scripts/packages.sh
sh scripts/install-deps.sh $TEST_PACKAGES

jobs=$(nproc 2>/dev/null || echo 2)
passed=0
failed=0
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# Adds one preset's ctest counts to the totals. A build that cannot run its
# tests, or finds none, counts as one failure.
TestPreset() {
    preset=$1
    echo "=== $preset build"
    # A folder that an earlier generator configured is configured afresh for Ninja.
    fresh=
    cache="build-$preset/CMakeCache.txt"
    [ ! -f "$cache" ] || grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$cache" || fresh=--fresh
    if ! cmake --preset "$preset" $fresh >/dev/null || ! cmake --build --preset "$preset" -j "$jobs"; then
        echo "=== $preset: configure or build failed"
        failed=$((failed + 1))
        return
    fi
    if { [ "$preset" = ci ] || [ "$preset" = web ]; } && ! sh scripts/lint.sh "build-$preset"; then
        echo "=== $preset: static analysis failed"
        failed=$((failed + 1))
    fi
    ctest_status=0
    ctest --preset "$preset" -j "$jobs" --output-log "$log" || ctest_status=$?
    # ctest's summary: "97% tests passed, 3 tests failed out of 114".
    summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+$' "$log" || true)
    if [ -z "$summary" ]; then
        echo "=== $preset: no tests ran"
        failed=$((failed + 1))
        return
    fi
    set -- $summary
    passed=$((passed + $9 - $4))
    failed=$((failed + $4))
    if [ "$4" -eq 0 ] && [ "$ctest_status" -ne 0 ]; then
        echo "=== $preset: ctest failed (exit $ctest_status) with no failed test"
        failed=$((failed + 1))
    fi
}

for preset in ci sanitize mingw linux-clang linux-i686 linux-aarch64 linux-s390x linux-riscv64 \
    linux-ppc64el linux-armhf mingw-i686 web; do
    preset_start=$(date +%s)
    TestPreset "$preset"
    echo "=== $preset: $(($(date +%s) - preset_start)) s"
done
echo "=== total: $(($(date +%s) - start)) s"
echo "all builds: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
