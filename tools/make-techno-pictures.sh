#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the twelve pictures of the Techno presentation and the settings dialog's preview
# (content/techno/) with ImageMagick: abstract colour fields, 800 x 534 like the band. The
# results are committed; run this again only after changing a drawing.
set -euo pipefail
cd "$(dirname "$0")/.."
OUT=content/techno
mkdir -p "$OUT"

pic() {  # number, seed, two plasma colours, extra operations...
  local n=$1 seed=$2 c1=$3 c2=$4
  shift 4
  convert -size 800x534 -seed "$seed" plasma:"$c1"-"$c2" -blur 0x3 "$@" -quality 82 -strip "$OUT/techno$n.jpg"
}
pic 01 11 '#FF0080' '#2000FF' -swirl 120
pic 02 12 '#00FFC0' '#0030FF' -swirl -200
pic 03 13 '#FFD000' '#FF2000' -implode 0.4
pic 04 14 '#80FF00' '#006040' -swirl 300
pic 05 15 '#FF00FF' '#00FFFF' -swirl -320 -implode 0.3
pic 06 16 '#FF6000' '#400080' -swirl 90 -implode -0.5
pic 07 17 '#00A0FF' '#FFFFFF' -swirl -150
pic 08 18 '#FF0040' '#FFC000' -implode -0.8 -swirl 60
convert -size 534x800 gradient:'#FF0099'-'#110033' -rotate 90 \
  \( -size 800x534 xc:none -stroke '#FFFFFF40' -strokewidth 6 -fill none \
     -draw "$(for r in $(seq 40 60 520); do printf 'circle 400,267 %d,267 ' "$((400 + r))"; done)" \) \
  -composite -quality 82 -strip "$OUT/techno09.jpg"
convert -size 800x534 xc:'#050510' -fill none -strokewidth 10 \
  $(for i in $(seq 0 11); do printf -- "-stroke hsl(%d,100%%,55%%) -draw line_%d,0,%d,534 " "$((i * 30))" "$((i * 80 - 100))" "$((i * 80 + 100))"; done | sed 's/_/ /g') \
  -blur 0x1 -quality 82 -strip "$OUT/techno10.jpg" 2>/dev/null || \
  convert -size 800x534 -seed 20 plasma:'#00FF80'-'#FF00C0' -blur 0x8 -quality 82 -strip "$OUT/techno10.jpg"
pic 11 21 '#3000FF' '#00FF60' -spread 2 -blur 0x2 -swirl 240
convert -size 800x534 -seed 22 plasma:fractal -blur 0x2 -modulate 100,180 -quality 82 -strip "$OUT/techno12.jpg"
# The settings dialog's preview: never part of the show.
convert "$OUT/techno01.jpg" -resize 160x100! -quality 85 -strip "$OUT/vorschau.jpg"
