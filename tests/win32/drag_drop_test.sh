#!/usr/bin/env bash
# Drag and drop with the real mouse on the virtual display, against the real program:
# rows dragged out of the list land in another program as files with the entries' bytes;
# in the extract dialog's tree a drag resting on a folder opens it, and a folder dragged
# out arrives as itself. The other end is
# drop_probe's window. This Wine leaves two things out of reach: the shell's handling of
# a drop on a folder answers without copying, and its drags never reach windows that
# only accept WM_DROPFILES, such as the program's own while an archive is open.
# Usage: drag_drop_test.sh BINDIR   (with DISPLAY, WINEPREFIX and a running wineserver)
set -euo pipefail
bin=$1
work=$(mktemp -d)
started=()
default_of() { # the default value of a key, empty when it has none
    wine reg query "$1" /ve 2>/dev/null | tr -d '\r' | sed -n 's/^ *(Default) *REG_SZ *//p' |
        grep -v '^(value not set)$' || true
}
restore() { # restore KEY VALUE: the default value as it was before the test
    if [ -n "$2" ]; then
        wine reg add "$1" /ve /d "$2" /f >/dev/null 2>&1
    else
        wine reg delete "$1" /ve /f >/dev/null 2>&1 || true
    fi
}
saved_zip=$(default_of 'HKCR\.zip')
saved_dir=$(default_of 'HKCR\Tarvox\dir')
cleanup() {
    local pid
    for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    restore 'HKCR\.zip' "$saved_zip"
    restore 'HKCR\Tarvox\dir' "$saved_dir"
    rm -rf "$work"
}
trap cleanup EXIT
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/checks.sh"

win() { winepath -w "$1" 2>/dev/null; }
start() { # start PROGRAM ARGUMENT...: in the background, stopped at the end
    wine "$@" >/dev/null 2>&1 &
    started+=($!)
}
stop_all() {
    local pid
    for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    started=()
}
window_of() { # window_of CAPTION: waits for it and prints its X window
    local id tries=0
    until id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1) && [ -n "$id" ]; do
        [ $tries -lt 100 ] || return 1
        sleep 0.2
        tries=$((tries + 1))
    done
    echo "$id"
}
centre_of() { # centre_of WINDOW: "X Y" on the screen
    eval "$(xdotool getwindowgeometry --shell "$1")"
    echo "$((X + WIDTH / 2)) $((Y + HEIGHT / 2))"
}
carry() { # carry FROM_X FROM_Y TO_X TO_Y: press, move in steps, the button still down
    xdotool mousemove "$1" "$2" sleep 0.3 mousedown 1 sleep 0.2
    local i
    for i in 1 2 3 4 5 6 7 8; do
        xdotool mousemove $(($1 + ($3 - $1) * i / 8)) $(($2 + ($4 - $2) * i / 8)) sleep 0.1
    done
    sleep 0.3
}
release() { xdotool mouseup 1; }
wait_for() { # wait_for FILE: until it exists, or ten seconds
    local tries=0
    until [ -s "$1" ] || [ $tries -ge 50 ]; do sleep 0.2; tries=$((tries + 1)); done
}

# The program runs from a folder of its own, which its settings name for the dialog's tree.
program=$work/program
mkdir -p "$program" "$work/landed" "$work/tree" "$work/zz/dentro"
cp "$bin/tarvox.exe" "$bin/ZIPDLL.DLL" "$bin/UNZDLL.DLL" "$program/"
printf 'c:\\\r\n%s\r\n%s\r\n1\r\n' "$(win "$work")" "$(win "$work/tree")" >"$program/conf.txm"
: >"$program/ult.txm"
wine reg add 'HKCR\.zip' /ve /d Tarvox /f >/dev/null 2>&1
for exe in tarvox.exe drop_probe.exe; do
    wine reg add "HKCU\Software\Wine\AppDefaults\$exe\X11 Driver" /v Managed /d N /f >/dev/null 2>&1
done
wine reg add 'HKCR\Tarvox\dir' /ve /d "$(win "$program")" /f >/dev/null 2>&1

# Entries with the bytes they must land with: a name in a folder lands without it, and
# the folder's own row (selected too) brings nothing more.
python3 - "$work/muestra.zip" "$work/expected" <<'PY'
import os, sys, zipfile
entries = {"uno.txt": b"uno\r\n" * 7, "carpeta/": b"", "carpeta/dos.bin": os.urandom(300000),
           "año.txt": "ñandú".encode()}
os.makedirs(sys.argv[2])
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as z:
    for name, data in entries.items():
        z.writestr(name, data)
        if not name.endswith("/"):
            open(os.path.join(sys.argv[2], os.path.basename(name)), "wb").write(data)
PY

# Out of the list into another program.
start "$bin/drop_probe.exe" target "$(win "$work/landed")" "$(win "$work/landed.log")"
target=$(window_of 'Tarvox drop probe')
start "$program/tarvox.exe" "$(win "$work/muestra.zip")"
window_of 'TARVOX  v4.1.0    ' >/dev/null
sleep 1
read -r row_x row_y < <(wine "$bin/drop_probe.exe" where list | tr -d '\r')
xdotool mousemove "$row_x" "$row_y" click 1 sleep 0.3 key ctrl+a sleep 0.3
carry "$row_x" "$row_y" $(centre_of "$target")
check "nothing is extracted before the drop" same "$(find "$work" -path '*arrastre*' -type f)" ""
release
wait_for "$work/landed.log"
check "three files dropped" same "$(wc -l <"$work/landed.log" 2>/dev/null || echo 0)" 3
check "the dropped files hold the entries' bytes" diff -r "$work/expected" "$work/landed"
stop_all

# The extract dialog's tree: a collapsed folder a drag rests on opens; the selected
# folder dragged out is that folder.
start "$program/tarvox.exe" "$(win "$work/muestra.zip")" 0
window_of 'Descomprimir en ...' >/dev/null
start "$bin/drop_probe.exe" target "$(win "$work/landed")" "$(win "$work/tree.log")"
target=$(window_of 'Tarvox drop probe')
sleep 1
read -r folder_x folder_y row _ < <(wine "$bin/drop_probe.exe" where tree | tr -d '\r')
carry "$folder_x" "$folder_y" "$folder_x" $((folder_y + row))
for i in 1 2 3 4 5 6 7 8; do xdotool mousemove_relative -- $((i % 2 * 2 - 1)) 0 sleep 0.2; done
xdotool key Escape
release
# Opening it may scroll the tree.
read -r folder_x folder_y _ opened < <(wine "$bin/drop_probe.exe" where tree | tr -d '\r')
check "a folder a drag rests on opens" same "$opened" 1
carry "$folder_x" "$folder_y" $(centre_of "$target")
release
wait_for "$work/tree.log"
check "a folder dragged out of the tree is that folder" \
    same "$(tr -d '\r' <"$work/tree.log" 2>/dev/null)" "$(win "$work/tree")"

[ "$failures" -eq 0 ] && echo "all drag and drop checks passed"
exit $((failures > 0))
