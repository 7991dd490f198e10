#!/bin/sh
# Static analysis of every source file: clang-tidy (checks in .clang-tidy) and
# cppcheck. Any finding fails. Needs a configured build (compile_commands.json):
# the test build, build-ci/, unless another is named.
# Usage: scripts/lint.sh [BUILD_DIR]
set -eu
cd "$(dirname "$0")/.."
build="${1:-build-ci}"
jobs=$(nproc 2>/dev/null || echo 2)
status=0

echo "=== clang-tidy"
# The browser backend and its OpenGL compile only with emscripten: a web build lints them, with
# emscripten's headers and target; a native build lints everything else.
if grep -q '^EMSCRIPTEN:BOOL=1' "$build/CMakeCache.txt" 2>/dev/null; then
    sysroot="$(em-config CACHE)/sysroot"
    sources=$(git ls-files 'platform/web/*.cpp' 'platform/webgl/*.cpp')
    set -- --extra-arg=--target=wasm32-unknown-emscripten --extra-arg=-D__EMSCRIPTEN__ \
        --extra-arg=-Wno-unused-command-line-argument \
        --extra-arg=-isystem"$sysroot/include/c++/v1" --extra-arg=-isystem"$sysroot/include"
    only="--file-filter=platform/web/* --file-filter=platform/webgl/*"
else
    sources=$(git ls-files '*.cpp' ':!:platform/web/*.cpp' ':!:platform/webgl/*.cpp')
    set --
    only=""
fi
# An empty list would run clang-tidy on nothing and pass, so it fails here.
[ -n "$sources" ] ||
    { echo "lint: no sources listed (git ls-files needs git and a checkout)"; exit 1; }
# Written to a file, not through tee: dash has no pipefail, and a clang-tidy
# that fails to run must fail the lint.
ran=0
echo "$sources" | xargs -P "$jobs" -n 4 clang-tidy -p "$build" --quiet "$@" 2>/dev/null >"$build/clang-tidy.txt" || ran=$?
cat "$build/clang-tidy.txt"
if [ "$ran" -ne 0 ]; then
    echo "clang-tidy failed to run cleanly (xargs exit $ran)"; status=1
elif grep -qE 'warning:|error:' "$build/clang-tidy.txt"; then
    status=1
else
    echo "clang-tidy: no findings"
fi

echo "=== cppcheck"
# Suppressed across the code, each for a reason:
#   passedByValue:   Vector and TrackedPoint are small values passed by value by design.
#   cstyleCast:      C casts are the Win32 style, and (double) / (float) casts mark the rounding.
#   useStlAlgorithm: short loops over fixed tables read more plainly than algorithms.
#   constParameter:  handles and WinMain's parameters keep the types Windows declares.
cppcheck --project="$build/compile_commands.json" -i"$PWD/$build" --std=c++17 --library=googletest \
    --enable=warning,performance,portability,style --inline-suppr --error-exitcode=1 -q -j "$jobs" \
    --suppress=missingIncludeSystem --suppress=passedByValue --suppress=cstyleCast \
    --suppress=useStlAlgorithm --suppress=constParameter $only || status=1
[ "$status" -ne 0 ] || echo "cppcheck: no findings"
exit $status
