#!/usr/bin/env bash
# Builds the three trees and runs every test: natively, the fuzz targets briefly from their
# seeds, then the Windows build under Wine.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

ensure_packages
build_tree native
build_tree win32
build_tree fuzz
ensure_display
ensure_wine_prefix
start_persistent_wineserver

status=0
say "native tests"
ctest --test-dir "$TARVOX_BUILD/native" --output-on-failure -j 2 || status=1
say "fuzz targets from their seeds"
ctest --test-dir "$TARVOX_BUILD/fuzz" --output-on-failure -j 2 || status=1
say "win32 tests under Wine"
ctest --test-dir "$TARVOX_BUILD/win32" --output-on-failure -j 2 || status=1
if [ $status -eq 0 ]; then say "all tests passed"; else say "some tests FAILED"; fi
exit $status
