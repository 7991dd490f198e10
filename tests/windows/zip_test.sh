#!/bin/sh
# Packs the Windows build and lists the zip: both programs, the README and the licence.
# Usage: zip_test.sh BUILD_DIR
set -u
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack --config "$1/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log"; exit 1; }
listing=$(cd "$out" && cmake -E tar tf ./*.zip) || exit 1
failures=0
for file in bin/boulles.exe bin/ball-trace.exe README.txt LICENSE.txt; do
    echo "$listing" | grep -q "^boulles-[^/]*/$file\$" || { echo "FAIL: no $file in the zip"; failures=$((failures + 1)); }
done
[ "$failures" -eq 0 ] && echo "the zip holds: $(echo "$listing" | tr '\n' ' ')"
exit "$failures"
