#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# presentation-fullscreen.sh PROGRAM: the classic presentation fills the screen by itself on
# a virtual X screen without a window manager (nobody grants a full-screen request there).
set -u
program=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
command -v xvfb-run >/dev/null && command -v xwininfo >/dev/null || { echo "xvfb-run or xwininfo missing"; exit 2; }
scratch=$(mktemp -d "${TMPDIR:-/tmp}/zek-fullscreen.XXXXXX") || exit 2
trap 'rm -rf "$scratch"' EXIT
printf 'start "s1,gws,klassisch,go"\nwait 8000\n' > "$scratch/classic.drive"
cat > "$scratch/check.sh" <<'INNER'
program=$1; scratch=$2
cd "$scratch" || exit 2
ZEK_SETTINGS="$scratch/settings.ini" HOME="$scratch" XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/share" \
  QT_QPA_PLATFORM=xcb ZEK_AUDIO=null "$program" --drive "$scratch/classic.drive" >/dev/null 2>&1 &
pid=$!
sleep 5
xwininfo -root -tree > "$scratch/tree.txt" 2>/dev/null
kill $pid 2>/dev/null; wait $pid 2>/dev/null
# The backdrop and the presentation: two windows of the program as large as the screen.
grep '"zek englisch"' "$scratch/tree.txt" | grep -c ' 1024x768+0+0 ' > "$scratch/count.txt"
grep '"zek englisch"' "$scratch/tree.txt"
[ "$(cat "$scratch/count.txt")" -ge 2 ] || { echo "the presentation does not fill the screen"; exit 1; }
exit 0
INNER
xvfb-run -a -s "-screen 0 1024x768x24" sh "$scratch/check.sh" "$program" "$scratch"
