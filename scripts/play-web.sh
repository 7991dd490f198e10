#!/bin/sh
# Builds the page with emscripten (the web preset, into build-web/) and serves
# it on http://127.0.0.1:8080/boulles.html until interrupted. Any static web
# server will do as well: the page is build-web/bin/boulles.html with the files
# beside it.
set -eu
cd "$(dirname "$0")/.."
. scripts/packages.sh
sh scripts/install-deps.sh $WEB_BUILD_PACKAGES
cmake --preset web >/dev/null
cmake --build --preset web -j "$(nproc 2>/dev/null || echo 2)" --target boulles page_icons
exec node scripts/serve-web.js build-web/bin 8080
