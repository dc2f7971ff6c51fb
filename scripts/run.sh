#!/usr/bin/env bash
# Builds the Windows program if needed, installs it into the Wine prefix and starts it.
# Arguments are handed to the program (an archive to open, and "0" to show the extract
# dialog).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

ensure_packages
build_tree win32 tarvox
ensure_display
ensure_wine_prefix
say "installing Tarvox into $WINEPREFIX"
ensure_wine_fonts
install_tarvox
say "starting Tarvox"
wine "$TARVOX_PROGRAM_FOLDER\\tarvox.exe" "$@"
