#!/usr/bin/env bash
# Pictures of every window at display scales, for the README: the Wine prefix's display
# is set to each scale in turn (and set back at the end), and each window is shown alone
# on a virtual display large enough for it at 200 % and saved, trimmed.
# Usage: screenshots.sh [FOLDER [PERCENT...]]   (default docs/scaled, 150 and 200)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
folder=${1:-$TARVOX_ROOT/docs/scaled}
shift || true
scales=("$@")
[ ${#scales[@]} -gt 0 ] || scales=(150 200)

ensure_packages
build_tree win32 window_probe
unset DISPLAY
TARVOX_SCREEN=2048x1536x24 ensure_display
ensure_wine_prefix
start_persistent_wineserver
ensure_wine_fonts
desktop='HKCU\Control Panel\Desktop'
unmanaged='HKCU\Software\Wine\AppDefaults\window_probe.exe\X11 Driver'
wine reg add "$unmanaged" /v Managed /d N /f >/dev/null 2>&1
TARVOX_CLEANUP+=("wine reg delete '$desktop' /v LogPixels /f >/dev/null 2>&1")
mkdir -p "$folder"
for percent in "${scales[@]}"; do
    wine reg add "$desktop" /v LogPixels /t REG_DWORD /d $((percent * 96 / 100)) /f >/dev/null 2>&1
    for window in main delete extract configuration folders credits splash; do
        picture=$folder/$window-$percent.png
        wine "$TARVOX_BUILD/win32/bin/window_probe.exe" "$window" &
        probe=$!
        sleep "${TARVOX_SCREENSHOT_DELAY:-5}"
        import -window root "$picture"
        kill "$probe" 2>/dev/null || true
        wait "$probe" 2>/dev/null || true
        # The display drops the ended program's windows a moment later.
        sleep 1
        # The screen around the window is the bare display's black.
        convert "$picture" -trim +repage "$picture"
        say "$picture"
    done
done
