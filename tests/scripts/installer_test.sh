#!/usr/bin/env bash
# The installer's round trip in a scratch Wine prefix: a silent installation puts the
# program, its libraries, the manual's pages, the default settings, the file type's
# keys, the Start menu shortcut and the uninstall entry in place; the installed program
# starts without the association message; a silent uninstallation takes everything
# away but the settings, and gives ".zip" back only while it still names Tarvox.
# Usage: installer_test.sh SETUP.exe VERB_PROBE.exe   (needs a display)
set -euo pipefail
setup=$1
verb_probe=$2
work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEARCH=win32 WINEDEBUG=-all
cleanup() {
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
WINEDLLOVERRIDES=mscoree,mshtml= wineboot -i >/dev/null 2>&1 </dev/null
wineserver -p >/dev/null 2>&1 </dev/null &

source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
# The default value of a registry key, or "(none)" when the key is missing.
default_of() {
    local out
    out=$(wine reg query "$1" /ve 2>/dev/null | tr -d '\r') || { echo "(none)"; return; }
    sed -n 's/^ *(Default) *REG_SZ *//p' <<<"$out"
}
key_missing() { ! wine reg query "$1" >/dev/null 2>&1; }
# How many windows of that caption are on the screen (Wine makes its hidden ones too).
windows_named() {
    local id count=0
    for id in $(xwininfo -root -tree 2>/dev/null | grep -F "\"$1\":" | awk '{print $1}'); do
        if xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable'; then
            count=$((count + 1))
        fi
    done
    echo "$count"
}
# Starts the installed program and waits for its main window or a message box (captioned
# "Tarvox", it holds the main window back), gives it two seconds more, says how many of
# each are on the screen, and stops the program.
start_program() {
    wine "$folder_win\\tarvox.exe" >/dev/null 2>&1 &
    local program=$! tries=0
    while [ "$(windows_named 'TARVOX  v4.1.0    ')" -eq 0 ] && [ "$(windows_named Tarvox)" -eq 0 ] &&
        [ $tries -lt 150 ]; do
        sleep 0.2
        tries=$((tries + 1))
    done
    sleep 2
    local main message
    main=$(windows_named 'TARVOX  v4.1.0    ')
    message=$(windows_named 'Tarvox')
    kill "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    echo "$main $message"
}
uninstall() { # uninstall [ARGUMENT...]: the uninstaller hands over to a copy of itself
    wine "$folder_win\\uninstall.exe" /S "$@" >/dev/null 2>&1
    local tries=0
    while [ -e "$folder/uninstall.exe" ] && [ $tries -lt 150 ]; do
        sleep 0.2
        tries=$((tries + 1))
    done
    while ! key_missing 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvox' &&
        [ $tries -lt 150 ]; do
        sleep 0.2
        tries=$((tries + 1))
    done
}

folder_win='C:\Program Files\Tarvox'
folder=$(winepath -u "$folder_win")
shortcut=$(winepath -u 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs')/Tarvox.lnk
program_files=(tarvox.exe ZIPDLL.DLL UNZDLL.DLL ayuda.html help.html uninstall.exe)
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvox'

# Another program had ".zip" before.
wine reg add 'HKCR\.zip' /ve /d OtherZip /f >/dev/null 2>&1
wine "$setup" /S >/dev/null 2>&1
for file in "${program_files[@]}"; do
    check "$file installed" test -s "$folder/$file"
done
check "default settings" same "$(bytes_of "$folder/conf.txm")" \
    "$(printf 'c:\\\r\nc:\\\r\nc:\\\r\n1\r\n' | bytes_of)"
check "empty recent list" test -f "$folder/ult.txm" -a ! -s "$folder/ult.txm"
check "program folder key" same "$(default_of 'HKCR\Tarvox\dir')" "$folder_win"
check "open command key" same "$(default_of 'HKCR\Tarvox\shell\open\command')" \
    "\"$folder_win\\tarvox.exe\" \"%1\""
# The shell's verbs, each running the program with its switch on the item.
for verb in 'Tarvox\shell\extracthere /extracthere' 'Tarvox\shell\extractto /extractto' \
    'Tarvox\shell\test /test' '*\shell\tarvoxadd /add' 'Directory\shell\tarvoxadd /add'; do
    key=${verb% *}
    check "verb $key" same "$(default_of "HKCR\\${key}\\command")" \
        "\"$folder_win\\tarvox.exe\" ${verb##* } \"%1\""
done
for key in '*\shell\tarvoxadd' 'Directory\shell\tarvoxadd'; do
    check "$key on many items" eval "wine reg query 'HKCR\\$key' /v MultiSelectModel 2>/dev/null |
        tr -d '\r' | grep -q 'REG_SZ *Player$'"
done
# The captions in the installer's language, whichever it took.
case "$(default_of 'HKCR\Tarvox\shell\extractto')|$(default_of 'HKCR\Tarvox\shell\test')" in
'Extraer en carpeta|Comprobar' | 'Extract to folder|Test') check "verb captions" true ;;
*) check "verb captions" false ;;
esac
check ".zip claimed" same "$(default_of 'HKCR\.zip')" Tarvox
# "Extract here" as Explorer's menu runs it, through the registered command: loose
# entries go into a new folder, one top folder appears beside the archive.
mkdir -p "$work/verbs"
python3 - "$work/verbs" <<'PYTHON'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1] + "/Sueltos.zip", "w") as z:
    z.writestr("a.txt", "a"); z.writestr("sub/b.txt", "b")
with zipfile.ZipFile(sys.argv[1] + "/Arriba.zip", "w") as z:
    z.writestr("Top/a.txt", "a")
PYTHON
check "extract here through the shell" wine "$verb_probe" extracthere \
    "$(winepath -w "$work/verbs/Sueltos.zip")" "$(winepath -w "$work/verbs/Arriba.zip")"
check "extracted where the user looks" same "$(cd "$work/verbs" && find . -type f | sort | tr '\n' ' ')" \
    "./Arriba.zip ./Sueltos.zip ./Sueltos/a.txt ./Sueltos/sub/b.txt ./Top/a.txt "
check "Start menu shortcut" test -s "$shortcut"
check "uninstall entry" eval "wine reg query '$uninstall_key' /v UninstallString 2>/dev/null |
    tr -d '\r' | grep -qF '\"$folder_win\\uninstall.exe\"'"

# The installed program starts without the association message; once another program
# takes ".zip", the message comes (so the look for it finds one when there is one).
check "main window, no message" same "$(start_program)" "1 0"
# The program names the verbs in its settings' language (Spanish), for itself.
check "verbs in the program's language" same "$(default_of 'HKCR\Tarvox\shell\extractto')" \
    "Extraer en carpeta"
check "verb command kept" same "$(default_of 'HKCR\Tarvox\shell\test\command')" \
    "\"$folder_win\\tarvox.exe\" /test \"%1\""
wine reg add 'HKCR\.zip' /ve /d Interloper /f >/dev/null 2>&1
check "the message before the main window" same "$(start_program)" "0 1"
# What the program does once the user has read the message.
wine reg add 'HKCR\.zip' /ve /d Tarvox /f >/dev/null 2>&1

# Silent removal keeps the settings and gives ".zip" back.
printf 'd:\\\r\ne:\\\r\nf:\\\r\n2\r\n' >"$folder/conf.txm"
uninstall
for file in "${program_files[@]}"; do
    check "$file removed" test ! -e "$folder/$file"
done
check "settings kept" same "$(cat "$folder/conf.txm")" "$(printf 'd:\\\r\ne:\\\r\nf:\\\r\n2\r\n')"
check "recent list kept" test -f "$folder/ult.txm"
check "file type removed" key_missing 'HKCR\Tarvox'
check "add verb of files removed" key_missing 'HKCR\*\shell\tarvoxadd'
check "add verb of folders removed" key_missing 'HKCR\Directory\shell\tarvoxadd'
check "uninstall entry removed" key_missing "$uninstall_key"
check "shortcut removed" test ! -e "$shortcut"
check ".zip given back" same "$(default_of 'HKCR\.zip')" OtherZip

# Installing again keeps the settings; a ".zip" taken over since stays where it is, and
# /PURGE takes the settings and the folder too.
wine "$setup" /S >/dev/null 2>&1
check "settings kept by a reinstallation" same "$(cat "$folder/conf.txm")" \
    "$(printf 'd:\\\r\ne:\\\r\nf:\\\r\n2\r\n')"
wine reg add 'HKCR\.zip' /ve /d Newcomer /f >/dev/null 2>&1
uninstall /PURGE
check "folder removed" test ! -e "$folder"
check ".zip of another program kept" same "$(default_of 'HKCR\.zip')" Newcomer
check "file type removed again" key_missing 'HKCR\Tarvox'

if [ "$failures" -eq 0 ]; then echo "installer round trip: all checks passed"; fi
exit "$failures"
