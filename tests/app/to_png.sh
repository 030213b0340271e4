#!/usr/bin/env bash
# to_png.sh BMP PNG: converts a screenshot to PNG with ImageMagick and checks that the PNG
# holds a picture of the same size with more than a handful of colours.
set -euo pipefail
bmp=$1
png=$2
[ -s "$bmp" ] || { echo "no screenshot at $bmp"; exit 1; }
rm -f "$png"
convert "$bmp" "$png"
want=$(identify -format '%wx%h' "$bmp")
got=$(identify -format '%wx%h' "$png")
[ "$got" = "$want" ] || { echo "PNG is $got, the screenshot $want"; exit 1; }
colours=$(identify -format '%k' "$png")
[ "$colours" -gt 4 ] || { echo "PNG has only $colours colours: no picture of a window"; exit 1; }
echo "saved $png ($got, $colours colours)"
