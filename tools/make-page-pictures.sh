#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the pictures of the shipped pages (content/pages/bilder/, content/pages/e_gfx/,
# content/pages/bingo/) with ImageMagick. The results are committed; run this again only
# after changing a drawing. Needs `convert` and the Liberation/DejaVu fonts (see ./zek).
set -euo pipefail
cd "$(dirname "$0")/.."
OUT=content/pages
B=$OUT/bilder
mkdir -p "$B" "$OUT/e_gfx" "$OUT/bingo"

SANS=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
SANSB=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
SERIFI=/usr/share/fonts/truetype/dejavu/DejaVuSerif-Italic.ttf
LIBB=/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf

# The page colours the pictures sit on (see stil.htx).
PAGE='#070B14'
TILE='#13213A'
TILE_HI='#1F3A63'
GOLD='#FFC83D'
ICE='#9FC3EE'
WHITE='#F2F5FA'


# ---- page background: a quiet vertical gradient with a faint diagonal pattern
convert -size 800x572 gradient:'#0D1830'-'#020308' \
  \( -size 800x572 xc:none -stroke '#FFFFFF08' -strokewidth 1 \
     -draw "$(for i in $(seq -572 24 800); do printf 'line %d,0 %d,572 ' "$i" "$((i + 572))"; done)" \) \
  -composite -quality 80 -strip "$B/hintergrund.jpg"

# ---- logo
convert -size 380x70 xc:"#0B1528" \
  -font "$SANSB" -pointsize 46 -fill "$GOLD" -annotate +8+52 'zek' \
  -font "$SANS" -pointsize 46 -fill "$WHITE" -annotate +112+52 'englisch' \
  -fill "$ICE" -draw 'rectangle 112,60 370,62' \
  -transparent "#0B1528" +dither -colors 32 -strip "$B/logo.gif"

# ---- menu icons, 64 x 64, one plain and one highlighted (FLASH) version each
icon() {  # name, background, accent, draw commands...
  local name=$1 bg=$2 accent=$3
  shift 3
  convert -size 64x64 xc:"$bg" -stroke none "$@" +dither -colors 48 -strip "$B/$name.gif"
}
icons() {  # name, draw function
  local name=$1 fn=$2
  $fn "$name" "$TILE" "$ICE"
  $fn "${name}_h" "$TILE_HI" "$GOLD"
}

d_vokabeln() {  # a pile of flash cards
  icon "$1" "$2" "$3" \
    -fill '#2D4A75' -draw 'roundrectangle 16,8 58,40 5,5' \
    -fill '#3D6299' -draw 'roundrectangle 10,16 52,48 5,5' \
    -fill "$WHITE" -draw 'roundrectangle 4,24 46,56 5,5' \
    -font "$SANSB" -pointsize 17 -fill "$TILE" -annotate +9+46 'Aa' \
    -fill "$3" -draw 'rectangle 8,50 42,52'
}
d_verben() {  # three forms on three lines
  icon "$1" "$2" "$3" \
    -font "$SANSB" -pointsize 15 -fill "$WHITE" -annotate +6+18 'go' \
    -fill "$3" -annotate +14+38 'went' \
    -fill "$WHITE" -annotate +22+58 'gone' \
    -stroke "$3" -strokewidth 2 -fill none -draw 'line 8,24 8,50' -draw 'line 8,50 18,50'
}
d_labor() {  # headphones
  icon "$1" "$2" "$3" \
    -fill none -stroke "$WHITE" -strokewidth 6 -draw 'arc 10,8 54,52 180,360' \
    -stroke none -fill "$3" -draw 'roundrectangle 5,30 19,56 5,5' -draw 'roundrectangle 45,30 59,56 5,5'
}
d_super() {  # equaliser bars and a note
  icon "$1" "$2" "$3" \
    -fill "$3" -draw 'rectangle 6,38 13,58' -draw 'rectangle 17,26 24,58' -draw 'rectangle 28,44 35,58' \
    -fill "$WHITE" -draw 'ellipse 46,50 7,5 0,360' -draw 'rectangle 51,12 54,50' \
    -draw 'polygon 54,12 62,18 62,24 54,19'
}
d_bingo() {  # a game ball with a star
  icon "$1" "$2" "$3" \
    -fill "$3" -draw 'circle 32,32 32,4' \
    -fill "$WHITE" -draw 'circle 32,32 32,16' \
    -font "$SANSB" -pointsize 18 -fill "$2" -annotate +24+39 'B'
}
d_buch() {  # an open book
  icon "$1" "$2" "$3" \
    -fill "$WHITE" -draw 'polygon 4,14 31,18 31,56 4,52' -draw 'polygon 33,18 60,14 60,52 33,56' \
    -fill "$3" -draw 'rectangle 31,18 33,56' \
    -font "$SANSB" -pointsize 13 -fill "$2" -annotate +8+40 'A' -annotate +42+40 'Z'
}
d_hilfe() {
  icon "$1" "$2" "$3" \
    -fill none -stroke "$3" -strokewidth 4 -draw 'circle 32,32 32,6' -stroke none \
    -font "$SANSB" -pointsize 34 -fill "$WHITE" -annotate +21+45 '?'
}
d_info() {
  icon "$1" "$2" "$3" \
    -fill none -stroke "$3" -strokewidth 4 -draw 'circle 32,32 32,6' -stroke none \
    -font "$SERIFI" -pointsize 34 -fill "$WHITE" -annotate +25+45 'i'
}
d_uebungen() {  # a sheet with a tick
  icon "$1" "$2" "$3" \
    -fill "$WHITE" -draw 'roundrectangle 12,6 52,58 4,4' \
    -fill '#8A9BB3' -draw 'rectangle 18,16 46,18' -draw 'rectangle 18,24 40,26' -draw 'rectangle 18,32 44,34' \
    -fill none -stroke "$3" -strokewidth 5 -draw 'polyline 22,44 30,52 46,36'
}
d_ende() {  # a power symbol
  icon "$1" "$2" "$3" \
    -fill none -stroke "$3" -strokewidth 5 -draw 'arc 12,12 52,52 -50,230' \
    -stroke "$WHITE" -draw 'line 32,6 32,32'
}
for n in vokabeln verben labor super bingo buch hilfe info uebungen ende; do
  icons "icon_$n" "d_$n"
done

# ---- small arrows for "back" and "next" links
convert -size 20x20 xc:"$PAGE" -fill "$ICE" -draw 'polygon 14,3 4,10 14,17' +dither -colors 8 -strip "$B/pfeil_links.gif"
convert -size 20x20 xc:"$PAGE" -fill "$GOLD" -draw 'polygon 14,3 4,10 14,17' +dither -colors 8 -strip "$B/pfeil_links_h.gif"
convert -size 20x20 xc:"$PAGE" -fill "$ICE" -draw 'polygon 6,3 16,10 6,17' +dither -colors 8 -strip "$B/pfeil_rechts.gif"
convert -size 20x20 xc:"$PAGE" -fill "$GOLD" -draw 'polygon 6,3 16,10 6,17' +dither -colors 8 -strip "$B/pfeil_rechts_h.gif"

# ---- mosaic tiles for the gallery, 60 x 40 (the cell height is two thirds of the width)
i=0
for c in '#274B7A' '#3C6E91' '#C9A227' '#8E3B46' '#2F7D5B' '#5B4B8A'; do
  i=$((i + 1))
  convert -size 60x40 xc:"$c" -fill '#FFFFFF30' -draw "circle $((10 * i)),20 $((10 * i + 12)),20" \
    -fill '#00000030' -draw "rectangle 0,$((i * 5)) 60,$((i * 5 + 4))" +dither -colors 16 -strip "$B/kachel$i.gif"
done

# ---- language lab picture: a car in a car wash, 400 x 267
convert -size 400x267 gradient:'#6FB7E8'-'#DDF1FB' \
  -fill '#3F4C5C' -draw 'rectangle 0,215 400,267' \
  -fill '#F7D23E' -draw 'rectangle 40,40 60,215' -draw 'rectangle 340,40 360,215' -draw 'rectangle 40,30 360,50' \
  -fill '#2B6CB0' -draw 'roundrectangle 70,52 100,210 12,12' -draw 'roundrectangle 300,52 330,210 12,12' \
  -fill '#D6453D' -draw 'roundrectangle 110,140 290,200 18,18' -draw 'roundrectangle 145,105 255,150 16,16' \
  -fill '#BFE3F5' -draw 'roundrectangle 155,113 196,143 6,6' -draw 'roundrectangle 204,113 245,143 6,6' \
  -fill '#1E1E1E' -draw 'circle 150,202 150,182' -draw 'circle 250,202 250,182' \
  -fill '#9A9A9A' -draw 'circle 150,202 150,193' -draw 'circle 250,202 250,193' \
  -fill '#FFFFFFB0' -draw 'circle 120,90 120,78' -draw 'circle 160,70 160,62' -draw 'circle 230,80 230,66' \
  -draw 'circle 280,100 280,90' -draw 'circle 200,60 200,55' -draw 'circle 130,125 130,118' \
  -draw 'circle 270,128 270,122' -draw 'circle 105,160 105,152' -draw 'circle 295,165 295,157' \
  -font "$LIBB" -pointsize 20 -fill '#1B3A5C' -annotate +120+28 'SUPER  CAR  WASH' \
  -quality 82 -strip "$OUT/e_gfx/carwash.jpg"

# ---- Bingo: balls for the intro page
convert -size 300x90 xc:"#0B1528" \
  -fill '#D6453D' -draw 'circle 45,45 45,8' -fill '#F7D23E' -draw 'circle 120,45 120,8' \
  -fill '#3C8DD9' -draw 'circle 195,45 195,8' -fill '#43A667' -draw 'circle 265,45 265,14' \
  -fill "$WHITE" -draw 'circle 45,45 45,25' -draw 'circle 120,45 120,25' -draw 'circle 195,45 195,25' \
  -draw 'circle 265,45 265,29' \
  -font "$SANSB" -pointsize 20 -fill '#111111' -annotate +33+53 'B' -annotate +109+53 'I' \
  -annotate +183+53 'N' -pointsize 16 -annotate +254+51 'GO' \
  -transparent "#0B1528" +dither -colors 48 -strip "$OUT/bingo/kugeln.gif"

ls -l "$B" "$OUT/e_gfx" "$OUT/bingo"
