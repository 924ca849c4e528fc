#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# highdensity.sh PROGRAM: runs highdensity.scale2 on a screen with twice the pixels
# (QT_SCALE_FACTOR=2 on an offscreen screen of 1600 x 1200). Every picture must have the
# screen's pixels: one that is the same after halving and doubling its pixels was drawn at
# scale 1 and enlarged. ZEK_HIGHDENSITY_SHOTS=DIR keeps the pictures.
set -u
here=$(cd "$(dirname "$0")" && pwd)
program=$1
command -v convert >/dev/null && command -v compare >/dev/null || { echo "ImageMagick missing"; exit 2; }
scratch=$(mktemp -d "${TMPDIR:-/tmp}/zek-highdensity.XXXXXX") || exit 2
trap 'rm -rf "$scratch"' EXIT
cat > "$scratch/screen.json" <<'JSON'
{ "screens": [ { "name": "large", "x": 0, "y": 0, "width": 1600, "height": 1200,
                 "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1 } ] }
JSON
cp "$here/highdensity.scale2" "$scratch/highdensity.drive"
TMPDIR=$scratch ZEK_DRIVE_KEEP=1 QT_SCALE_FACTOR=2 QT_QPA_PLATFORM="offscreen:configfile=$scratch/screen.json" \
  sh "$here/run-drive.sh" "$program" "$scratch/highdensity.drive" || { echo "the script failed"; exit 1; }
status=0
for shot in "$scratch"/zek-drive.*/*.png; do
  name=$(basename "$shot")
  width=$(identify -format '%w' "$shot")
  convert "$shot" -sample 50% -sample 200% "$scratch/doubled.png"
  # Pixels that differ from the picture with its pixels doubled.
  own=$(compare -metric AE "$shot" "$scratch/doubled.png" null: 2>&1)
  echo "$name: $width pixels wide, $own pixels of its own"
  [ "$width" -eq 1600 ] || { echo "$name is not at the screen's pixels"; status=1; }
  [ "${own%%.*}" -ge 20000 ] 2>/dev/null || { echo "$name looks enlarged from scale 1"; status=1; }
  [ -n "${ZEK_HIGHDENSITY_SHOTS:-}" ] && cp "$shot" "$ZEK_HIGHDENSITY_SHOTS/"
done
exit $status
