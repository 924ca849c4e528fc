#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# low-colour.sh PROGRAM: starts the program on a virtual X screen of 256 colours. It must
# refuse to run, and its refusal must be readable on that screen: a light box with dark
# text, not a black screen.
set -u
program=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
for tool in xvfb-run import convert; do
  command -v $tool >/dev/null || { echo "$tool missing"; exit 2; }
done
scratch=$(mktemp -d "${TMPDIR:-/tmp}/zek-lowcolour.XXXXXX") || exit 2
trap 'rm -rf "$scratch"' EXIT
cat > "$scratch/check.sh" <<'INNER'
program=$1; scratch=$2
cd "$scratch" || exit 2
ZEK_SETTINGS="$scratch/settings.ini" HOME="$scratch" XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/share" \
  QT_QPA_PLATFORM=xcb ZEK_AUDIO=null "$program" > "$scratch/out.txt" 2>&1 &
pid=$!
sleep 4
import -window root "$scratch/screen.png" 2>/dev/null
# Share of light pixels on the screen (the box), in per mille.
light=$(convert "$scratch/screen.png" -colorspace Gray -threshold 70% -format '%[fx:int(1000*mean)]' info:)
echo "light pixels: $light per mille"
[ -n "${ZEK_LOWCOLOUR_SHOT:-}" ] && cp "$scratch/screen.png" "$ZEK_LOWCOLOUR_SHOT"
kill $pid 2>/dev/null; wait $pid 2>/dev/null
[ "$light" -ge 20 ] || { echo "the refusal is not on the screen"; exit 1; }
exit 0
INNER
xvfb-run -a -s "-screen 0 1024x768x8" sh "$scratch/check.sh" "$program" "$scratch"
