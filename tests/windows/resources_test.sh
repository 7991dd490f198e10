#!/bin/sh
# boulles.exe's resources, read off the PE file: the resource directory holds
# an icon (with its group), version information and the manifest, and the
# manifest declares the DPI awareness and the supported Windows.
# Usage: resources_test.sh OBJDUMP EXE
set -u
objdump=$1
exe=$2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The first level of the resource tree: one entry per resource type.
types=$("$objdump" -p "$exe" | sed -n '/Resource Directory section/,/^$/p' |
        sed -n 's/^[0-9a-f]*   Entry: ID: 0x0*\([0-9a-f]*\),.*/\1/p' | tr '\n' ' ')
for type in "3 icon" "e icon group" "10 version information" "18 manifest"; do
    case " $types" in
    *" ${type%% *} "*) ;;
    *) fail "no ${type#* } resource (types: $types)" ;;
    esac
done

# Stored as they are: the manifest as UTF-8 text, the fixed version block with its signature.
for text in '<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">true</dpiAware>' \
            '<dpiAwareness xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">system</dpiAwareness>' \
            '<supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>'; do
    grep -qaF "$text" "$exe" || fail "the manifest lacks $text"
done
# VS_FIXEDFILEINFO: signature, structure version 1.0, then file version 1.0.0.0.
od -An -v -tx1 "$exe" | tr -d ' \n' | grep -q 'bd04effe000001000000010000000000' ||
    fail "no fixed version information for version 1.0.0.0"

[ "$failures" -eq 0 ] && echo "boulles.exe has its icon, version information and manifest (types $types)"
exit "$failures"
