#!/usr/bin/env bash
# Builds the tool bars' image strip and the program icon from the Tango icon theme
# (public domain); the two language buttons get flags drawn here.
# Usage: make_images.sh CONVERT TANGO_DIR STRIP_OUT ICON_OUT
set -euo pipefail
convert=$1 tango=$2 strip=$3 icon=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The strip at 16 pixels, and at the theme's larger sizes for scaled displays: STRIP_OUT
# names the first, the others take their size before the extension (iconos24.bgra).
for size in 16 22 24 32; do
    # Image 12: English; image 13: Castellano. Flags of 16 by 11 pixels at 16, centred,
    # drawn on the same grid at the larger sizes.
    scale=$(awk "BEGIN { print $size / 16 }")
    "$convert" -size "${size}x$size" xc:none -affine "$scale,0,0,$scale,0,0" \
        -fill '#012169' -draw 'rectangle 0,2 15,12' \
        -stroke white -strokewidth 3 -draw 'line 0,2 15,12' -draw 'line 0,12 15,2' \
        -stroke '#C8102E' -strokewidth 1 -draw 'line 0,2 15,12' -draw 'line 0,12 15,2' \
        -stroke none -fill white -draw 'rectangle 6,2 9,12' -draw 'rectangle 0,6 15,8' \
        -fill '#C8102E' -draw 'rectangle 7,2 8,12' -draw 'rectangle 0,7 15,7' \
        "PNG32:$work/english.png"
    "$convert" -size "${size}x$size" xc:none -affine "$scale,0,0,$scale,0,0" \
        -fill '#AA151B' -draw 'rectangle 0,2 15,12' \
        -fill '#F1BF00' -draw 'rectangle 0,5 15,9' "PNG32:$work/castellano.png"

    s=$tango/${size}x$size
    images=(
        "$s/actions/document-new.png"            # 0 new
        "$s/actions/document-open.png"           # 1 open
        "$s/actions/process-stop.png"            # 2 close
        "$s/actions/edit-find.png"               # 3 view
        "$s/actions/list-add.png"                # 4 add
        "$s/actions/edit-delete.png"             # 5 delete
        "$s/actions/go-bottom.png"               # 6 extract
        "$s/actions/system-log-out.png"          # 7 exit
        "$s/apps/accessories-text-editor.png"    # 8 notepad
        "$s/apps/system-file-manager.png"        # 9 explorer
        "$s/apps/accessories-calculator.png"     # 10 calculator
        "$s/apps/utilities-terminal.png"         # 11 command shell
        "$work/english.png"                      # 12 English
        "$work/castellano.png"                   # 13 Castellano
        "$s/apps/internet-web-browser.png"       # 14 web page
    )
    args=()
    for image in "${images[@]}"; do
        args+=("(" "$image" -background none -gravity center -extent "${size}x$size" ")")
    done
    out=$strip
    [ "$size" = 16 ] || out=${strip%.bgra}$size.bgra
    "$convert" "${args[@]}" +append -alpha set -depth 8 "BGRA:$out"
done
"$convert" "$s/mimetypes/package-x-generic.png" "$tango/32x32/mimetypes/package-x-generic.png" "$icon"
