#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# window-titles.sh PROGRAM: starts the program on a virtual X screen and reads the names of
# its windows as the window manager sees them; every title must read exactly as set.
set -u
program=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
command -v xvfb-run >/dev/null && command -v xwininfo >/dev/null || { echo "xvfb-run or xwininfo missing"; exit 2; }
scratch=$(mktemp -d "${TMPDIR:-/tmp}/zek-titles.XXXXXX") || exit 2
trap 'rm -rf "$scratch"' EXIT
printf 'wait 6000\n' > "$scratch/titles.drive"
cat > "$scratch/check.sh" <<'INNER'
program=$1; scratch=$2
cd "$scratch" || exit 2
ZEK_SETTINGS="$scratch/settings.ini" HOME="$scratch" XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/share" \
  QT_QPA_PLATFORM=xcb ZEK_AUDIO=null "$program" --drive "$scratch/titles.drive" >/dev/null 2>&1 &
pid=$!
i=0
while [ $i -lt 50 ]; do
  xwininfo -root -tree > "$scratch/tree.txt" 2>/dev/null
  grep -q '"zek englisch' "$scratch/tree.txt" && break
  sleep 0.2; i=$((i + 1))
done
sleep 0.5
xwininfo -root -tree > "$scratch/tree.txt" 2>/dev/null
kill $pid 2>/dev/null; wait $pid 2>/dev/null
# Window names: the first quoted text after a window id; Qt's own helper windows aside.
sed -n 's/^ *0x[0-9a-f]* \("[^"]*"\):.*/\1/p' "$scratch/tree.txt" | grep -v '"Qt ' | grep -i zek | sort -u > "$scratch/names.txt"
cat "$scratch/names.txt"
grep -q '^"zek englisch"$' "$scratch/names.txt" || { echo "no window named \"zek englisch\""; exit 1; }
if grep -v '^"zek englisch"$' "$scratch/names.txt" | grep -q .; then echo "titles with more than the program's title"; exit 1; fi
exit 0
INNER
xvfb-run -a -s "-screen 0 1024x768x24" sh "$scratch/check.sh" "$program" "$scratch"
