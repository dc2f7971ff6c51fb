#!/usr/bin/env bash
# Draws the two 300 by 80 pictures of the splash and credits windows, committed beside
# this script as pictures/logo.jpg and pictures/credits.jpg. Run it again after changing
# a picture here (it needs ImageMagick and its standard PostScript fonts).
set -euo pipefail
out=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/pictures
mkdir -p "$out"

# The product logo: a strapped parcel and the name, on a night-blue gradient.
convert -size 300x80 gradient:'#0b1d4a'-'#02060f' \
    -fill '#c98a2b' -stroke '#5c3a0a' -strokewidth 2 -draw 'roundrectangle 14,14 66,66 6,6' \
    -fill '#7fff00' -stroke none -draw 'rectangle 36,14 44,66' \
    -fill none -stroke '#7fff00' -strokewidth 2 -draw 'line 40,18 40,62' \
    -stroke none -fill '#7fff00' -font Helvetica-Bold -pointsize 44 -annotate +82+52 'Tarvox' \
    -fill '#9fb4e6' -font Helvetica -pointsize 12 -annotate +84+70 'archivos zip  /  zip archives' \
    -strip -quality 85 "$out/logo.jpg"

# The second credits picture: a thank-you band in the program's colours.
convert -size 300x80 gradient:'#7a0000'-'#1c3f9e' \
    -fill '#ffff00' -font Helvetica-Bold -pointsize 20 -annotate +16+34 'Gracias por usar Tarvox' \
    -fill white -font Helvetica-Oblique -pointsize 15 -annotate +16+60 'Thank you for using Tarvox' \
    -fill none -stroke '#ffff00' -strokewidth 2 -draw 'roundrectangle 4,4 295,75 10,10' \
    -strip -quality 85 "$out/credits.jpg"
