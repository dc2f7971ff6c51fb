#!/usr/bin/env bash
# Takes a screenshot of the running program on a virtual display: installs it into the
# Wine prefix as the run command does, starts it as a user who has started it before
# (the ".zip" association already claimed), and saves the screen as a PNG.
# Usage: screenshot.sh [OUTPUT.png [ARGUMENT...]]   (default docs/screenshot.png); the
# arguments go to the program, as with the run command.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
output=${1:-$TARVOX_ROOT/docs/screenshot.png}
shift || true

ensure_packages
build_tree win32 tarvox
unset DISPLAY
ensure_display
ensure_wine_prefix
start_persistent_wineserver
ensure_wine_fonts
install_tarvox
wine reg add 'HKCR\.zip' /ve /d Tarvox /f >/dev/null 2>&1
# The virtual display has no window manager: for this run Wine draws the window frames
# itself, as Windows would.
unmanaged='HKCU\Software\Wine\AppDefaults\tarvox.exe\X11 Driver'
wine reg add "$unmanaged" /v Managed /d N /f >/dev/null 2>&1
TARVOX_CLEANUP+=("wine reg delete '$unmanaged' /f >/dev/null 2>&1")
wine "$TARVOX_PROGRAM_FOLDER\\tarvox.exe" "$@" &
program=$!
TARVOX_CLEANUP+=("kill $program 2>/dev/null")
# The splash gives way to the main window after 900 ms; leave time for the clock.
sleep "${TARVOX_SCREENSHOT_DELAY:-4}"
mkdir -p "$(dirname "$output")"
import -window root "$output"
# The screen around the window is the bare display's black.
convert "$output" -trim +repage "$output"
say "screenshot saved to $output"
