#!/usr/bin/env bash
# The run command's installation into a Wine prefix, against stand-ins for wine and
# winepath that record what they are asked: the program, both engine libraries and the
# manual's pages are copied, the settings files are made only when missing and never
# replaced, and the file type's keys name the program folder and its open command.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
folder=$work/drive_c/Tarvox
mkdir -p "$work/stubs" "$work/build/win32/bin"
printf '#!/bin/sh\necho "%s"\n' "$folder" >"$work/stubs/winepath"
printf '#!/bin/sh\nprintf "%%s\\n" "$*" >>"%s/wine.log"\n' "$work" >"$work/stubs/wine"
chmod +x "$work/stubs/winepath" "$work/stubs/wine"
export PATH=$work/stubs:$PATH
for file in tarvox.exe ZIPDLL.DLL UNZDLL.DLL ayuda.html help.html; do
    echo "$file" >"$work/build/win32/bin/$file"
done

source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
install() {
    (
        source "$root/scripts/lib.sh"
        TARVOX_BUILD=$work/build
        install_tarvox
    )
}

# A first installation: everything in place, default settings, an empty recent list.
install
for file in tarvox.exe ZIPDLL.DLL UNZDLL.DLL ayuda.html help.html; do
    check "$file installed" cmp -s "$work/build/win32/bin/$file" "$folder/$file"
done
check "default settings" same "$(bytes_of "$folder/conf.txm")" \
    "$(printf 'c:\\\r\nc:\\\r\nc:\\\r\n1\r\n' | bytes_of)"
check "empty recent list" test -f "$folder/ult.txm" -a ! -s "$folder/ult.txm"
check "program folder key" grep -qxF 'reg add HKCR\Tarvox\dir /ve /d C:\Program Files\Tarvox /f' \
    "$work/wine.log"
check "open command key" grep -qxF \
    'reg add HKCR\Tarvox\shell\open\command /ve /d "C:\Program Files\Tarvox\tarvox.exe" "%1" /f' \
    "$work/wine.log"

# Installing again keeps what the user has.
printf 'd:\\\r\ne:\\\r\nf:\\\r\n2\r\nmore\r\n' >"$folder/conf.txm"
printf 'c:\\a.zip\r\n' >"$folder/ult.txm"
install
check "settings kept" same "$(cat "$folder/conf.txm")" "$(printf 'd:\\\r\ne:\\\r\nf:\\\r\n2\r\nmore\r\n')"
check "recent list kept" same "$(cat "$folder/ult.txm")" "$(printf 'c:\\a.zip\r\n')"

# A program without its engine libraries is no installation: say so and stop.
rm "$work/build/win32/bin/UNZDLL.DLL" "$folder/UNZDLL.DLL"
check "a missing library stops the installation" eval '! install 2>/dev/null'

[ "$failures" -eq 0 ] && echo "install_tarvox: all checks passed"
exit "$failures"
