#!/usr/bin/env bash
# Builds the Windows program if needed and starts it under Wine. Arguments are
# handed to the program (an archive to open, and "0" to show the extract dialog).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

ensure_packages
build_tree win32 tarvox
ensure_display
ensure_wine_prefix
say "starting Tarvox"
wine "$TARVOX_BUILD/win32/bin/tarvox.exe" "$@"
