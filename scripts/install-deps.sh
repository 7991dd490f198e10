#!/bin/sh
# Installs the Debian packages named on the command line, if any is missing.
# Runs apt-get as root, or through sudo.
#   install-deps.sh [--index-only | --no-index] PACKAGE...
# --index-only fetches the package index (if any is missing) and installs
# nothing; --no-index installs from the index fetched before. So one fetch
# serves installs that run in turn.
set -eu
index=fetch
case "${1:-}" in
--index-only) index=only; shift ;;
--no-index) index=skip; shift ;;
esac
missing=""
for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing="$missing $package"
done
[ -n "$missing" ] || exit 0
as_root=""
[ "$(id -u)" -eq 0 ] || as_root=sudo
[ "$index" = skip ] || $as_root apt-get update -qq
[ "$index" != only ] || exit 0
echo "Installing:$missing"
DEBIAN_FRONTEND=noninteractive $as_root apt-get install -y -qq --no-install-recommends $missing
