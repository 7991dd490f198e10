#!/bin/sh
# Makes the Wine prefix named by WINEPREFIX afresh, so that no earlier run or
# user setting reaches the tests; waits until Wine has finished setting it up.
set -eu
rm -rf "$WINEPREFIX"
wineboot --init
wineserver --wait
