#!/bin/sh
# Makes the Wine prefix named by WINEPREFIX once and keeps it for later runs.
# The stamp is written only after Wine has finished setting the prefix up, and
# names the Wine that made it: a prefix cut short, or made by another Wine, is
# made afresh. It lies in the build folder, so no user setting reaches it.
set -eu
stamp="$WINEPREFIX/made-by"
wine=$(wine --version)
if [ -f "$WINEPREFIX/system.reg" ] && [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$wine" ]; then
    echo "reusing the prefix made by $wine"
    exit 0
fi
rm -rf "$WINEPREFIX"
wineboot --init
wineserver --wait
echo "$wine" >"$stamp"
