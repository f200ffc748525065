#!/usr/bin/env bash
# Draws the window's banner and icon (ImageMagick). Run once after a change;
# the PNGs are committed so that a build needs no drawing tools.
set -euo pipefail
cd "$(dirname "$0")"

# Banner, 450 x 100: a map sheet with a grid, a surveyed track and its waypoints.
convert -size 450x100 gradient:'#e8f4ea'-'#cfe6f5' \
  -stroke '#b7cfc0' -strokewidth 1 \
  -draw 'line 0,25 450,25' -draw 'line 0,50 450,50' -draw 'line 0,75 450,75' \
  -draw 'line 75,0 75,100' -draw 'line 150,0 150,100' -draw 'line 225,0 225,100' \
  -draw 'line 300,0 300,100' -draw 'line 375,0 375,100' \
  -fill none -stroke '#d2691e' -strokewidth 3 \
  -draw 'polyline 20,80 60,62 95,70 130,40 170,48 205,22' \
  -fill '#1f5fa8' -stroke white -strokewidth 1 \
  -draw 'circle 20,80 25,80' -draw 'circle 95,70 100,70' -draw 'circle 170,48 175,48' \
  -draw 'circle 205,22 210,22' \
  -stroke none -fill '#1f3f66' -font DejaVu-Sans-Bold -pointsize 34 -annotate +235+58 'Carteloom' \
  -fill '#3d6b4f' -font DejaVu-Sans -pointsize 13 -annotate +238+80 'GPS  <->  MIF / MID' \
  -depth 8 banner.png

# Icon: a map pin over a folded map sheet, drawn at 32 x 32 and 16 x 16.
draw_icon() {
  local size=$1 out=$2
  convert -size 32x32 xc:none \
    -fill '#cfe6f5' -stroke '#1f3f66' -strokewidth 1.5 \
    -draw 'polygon 2,8 11,4 21,8 30,4 30,27 21,31 11,27 2,31' \
    -stroke '#7fa98f' -strokewidth 1 -draw 'line 11,4 11,27' -draw 'line 21,8 21,31' \
    -fill '#d2691e' -stroke '#7a3a0e' -strokewidth 1 \
    -draw 'path "M 16,27 C 9,17 9,15 9,13 A 7,7 0 1 1 23,13 C 23,15 23,17 16,27 Z"' \
    -fill white -stroke none -draw 'circle 16,13 16,10' \
    -resize "${size}x${size}" -colors 16 "PNG32:$out"
}
draw_icon 32 icon32.png
draw_icon 16 icon16.png
