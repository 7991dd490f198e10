#!/bin/sh
# Installs what the tests need (what the later presets need, while the first
# ones run), and builds and tests every preset in turn: a
# release build with warnings as errors (plus the static analysis), an
# AddressSanitizer + UBSan build, the Windows cross-build under Wine, the
# builds that must print the same trajectory (the test presets that inherit
# `trajectory` in CMakePresets.json), and the WebAssembly build with its page in
# three browsers. The trajectory builds run two at a time, each printed whole
# once it ends.
# Prints each preset's wall time as it ends and the total, then closes with one
# line over all of them and exits non-zero when anything failed: a configure,
# a build, the lint, a test, or a build that ran no test.
set -eu
start=$(date +%s)
cd "$(dirname "$0")/.."
. scripts/packages.sh
jobs=$(nproc 2>/dev/null || echo 2)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# What the native builds need first; the rest downloads and installs while
# they build and test, since only the presets after them use it.
sh scripts/install-deps.sh --index-only $NATIVE_TEST_PACKAGES $LATER_TEST_PACKAGES
sh scripts/install-deps.sh --no-index $NATIVE_TEST_PACKAGES
sh scripts/install-deps.sh --no-index $LATER_TEST_PACKAGES >"$work/install.out" 2>&1 &
later_install=$!

# Builds and tests PRESET with JOBS jobs, then writes its passed and failed
# counts to $work/PRESET.counts. A build that cannot run its tests, or finds
# none, counts as one failure.
TestPreset() {
    preset=$1
    preset_jobs=$2
    passed=0
    failed=0
    echo "=== $preset build"
    # A folder that an earlier generator configured is configured afresh for Ninja.
    fresh=
    cache="build-$preset/CMakeCache.txt"
    [ ! -f "$cache" ] || grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$cache" || fresh=--fresh
    if ! cmake --preset "$preset" $fresh >/dev/null || ! cmake --build --preset "$preset" -j "$preset_jobs"; then
        echo "=== $preset: configure or build failed"
        failed=1
    else
        if { [ "$preset" = ci ] || [ "$preset" = web ]; } && ! sh scripts/lint.sh "build-$preset"; then
            echo "=== $preset: static analysis failed"
            failed=1
        fi
        CountTests
    fi
    echo "$passed $failed" >"$work/$preset.counts"
}

# Runs ctest for $preset and adds its counts to passed and failed.
CountTests() {
    report="$work/$preset.junit.xml"
    ctest_status=0
    ctest --preset "$preset" -j "$preset_jobs" --output-junit "$report" || ctest_status=$?
    set -- $(JUnitCounts "$report")
    if [ "$(($1 + $2))" -eq 0 ]; then
        echo "=== $preset: no tests ran"
        failed=$((failed + 1))
        return
    fi
    passed=$((passed + $1))
    failed=$((failed + $2))
    if [ "$2" -eq 0 ] && [ "$ctest_status" -ne 0 ]; then
        echo "=== $preset: ctest failed (exit $ctest_status) with no failed test"
        failed=$((failed + 1))
    fi
}

# Prints the passed and failed counts of ctest's JUnit report, as its summary counts
# them: a test skipped by its own choice passes, one that could not run fails, and a
# disabled one is left out. Without a report, "0 0".
JUnitCounts() {
    [ -f "$1" ] || { echo 0 0; return; }
    awk '
        /<testcase .* status="run">/ { passed++ }
        /<testcase .* status="fail">/ { failed++ }
        /<testcase .* status="notrun">/ { failed++; notrun = 1; next }
        notrun && /<skipped message="SKIP_/ { failed--; passed++ }
        { notrun = 0 }
        END { print passed + 0, failed + 0 }' "$1"
}

TimedPreset() {
    preset_start=$(date +%s)
    TestPreset "$1" "$2"
    echo "=== $1: $(($(date +%s) - preset_start)) s"
}

# Runs the named presets one after another with half the jobs each, printing
# each one's output whole once it ends.
Lane() {
    for preset; do
        TimedPreset "$preset" $(((jobs + 1) / 2)) >"$work/$preset.out" 2>&1
        flock "$work" cat "$work/$preset.out"
    done
}

# The small builds that print the trajectory run in two lanes, taking turns in
# the presets' order: the cores that one lane's configure, links and emulated
# tests leave idle, the other uses.
lane_a=
lane_b=
turn=a
for preset in $(cmake -P scripts/trajectory-presets.cmake); do
    if [ "$turn" = a ]; then
        lane_a="$lane_a $preset" turn=b
    else
        lane_b="$lane_b $preset" turn=a
    fi
done
for preset in ci sanitize; do
    TimedPreset "$preset" "$jobs"
done
install_failed=0
wait "$later_install" || install_failed=1
cat "$work/install.out"
[ "$install_failed" -eq 0 ] || echo "=== installing the other builds' packages failed"
TimedPreset mingw "$jobs"
echo "=== the trajectory builds, in two lanes"
Lane $lane_a &
lane=$!
Lane $lane_b
wait "$lane" || true
TimedPreset web "$jobs"
echo "=== total: $(($(date +%s) - start)) s"

passed=0
failed=$install_failed
for preset in ci sanitize mingw $lane_a $lane_b web; do
    if [ -f "$work/$preset.counts" ]; then
        read -r preset_passed preset_failed <"$work/$preset.counts"
    else
        echo "=== $preset: did not finish"
        preset_passed=0 preset_failed=1
    fi
    passed=$((passed + preset_passed))
    failed=$((failed + preset_failed))
done
echo "all builds: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
