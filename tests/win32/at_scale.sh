#!/usr/bin/env bash
# Runs window tests with the Wine prefix's display at another scale, and sets the scale
# back whatever the tests do. Other programs started meanwhile would take the scale too:
# the test entry runs alone.
# Usage: at_scale.sh WINE PROGRAM DPI GTEST_FILTER
set -u
wine=$1 program=$2 dpi=$3 filter=$4
key='HKCU\Control Panel\Desktop'
previous=$("$wine" reg query "$key" /v LogPixels 2>/dev/null | grep -o '0x[0-9a-fA-F]*' | head -1)
restore() {
    if [ -n "$previous" ]; then
        "$wine" reg add "$key" /v LogPixels /t REG_DWORD /d "$((previous))" /f >/dev/null 2>&1
    else
        "$wine" reg delete "$key" /v LogPixels /f >/dev/null 2>&1
    fi
}
trap restore EXIT
"$wine" reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 || exit 1
TARVOX_TEST_DPI=$dpi "$wine" "$program" "--gtest_filter=$filter"
