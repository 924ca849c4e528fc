#!/usr/bin/env bash
# Speaks every English word of the shipped collections and the verb infinitives into the
# installation (wave/Woerter/<letter>/<word>.wav) and enters them in the recordings store
# ZEK_E/e_w.zek as "XE:\Woerter\...". Only missing or changed words are spoken again; the
# learner's own entries in the store stay.
#   ZEK_DIST                 the installation (set by ./zek)
#   ZEK_TOOL                 zek-tool to use (default $ZEK_DIST/zek-tool)
#   ZEK_WORD_SOUNDS_LIMIT    only the first N words (tests)
set -euo pipefail

dist=${ZEK_DIST:?ZEK_DIST is not set}
tool=${ZEK_TOOL:-$dist/zek-tool}
out="$dist/wave/Woerter"
manifest="$out/manifest.txt"
voice="en-gb"
speed=130
settings="espeak-ng -v $voice -s $speed; sox silence 0.5%"

[ -x "$tool" ] || { echo "word-sounds: $tool not found" >&2; exit 1; }
if ! command -v espeak-ng >/dev/null 2>&1; then
  echo "word-sounds: espeak-ng is not installed; the words stay unspoken" >&2
  "$tool" wavebase-make "$dist/ZEK_E/e_w.zek"
  exit 0
fi
trim=1
command -v sox >/dev/null 2>&1 || { trim=0; echo "word-sounds: sox is not installed; silence is not trimmed" >&2; }

source "$(dirname "${BASH_SOURCE[0]}")/../setup/manifest.bash"

list=$(mktemp)
todo=$(mktemp)
trap 'rm -f "$list" "$todo"' EXIT
"$tool" word-sounds "$dist/Vokabeln (E)" >"$list"
if [ -n "${ZEK_WORD_SOUNDS_LIMIT:-}" ]; then
  head -n "$ZEK_WORD_SOUNDS_LIMIT" "$list" >"$list.cut" && mv "$list.cut" "$list"
fi
mkdir -p "$out"

count=$(list_todo "$list" "$todo" "$manifest" "$settings" "$out")

if [ "$count" -gt 0 ]; then
  echo "word-sounds: speaking $count word(s) into $out"
  export out voice speed trim
  # Written under a temporary name and renamed, so an interrupted run leaves nothing
  # half-made that would count as done. Silence at both ends is cut off.
  xargs -0 -n 2 -P 2 bash -c '
    mkdir -p "$(dirname "$out/$0")"
    part="$out/$0.part.wav"
    printf "%s" "$1" | espeak-ng -v "$voice" -s "$speed" --stdin -w "$part" || exit 0
    if [ "$trim" = 1 ] && sox -q "$part" "$part.t.wav" silence 1 0.02 0.5% reverse silence 1 0.02 0.5% reverse 2>/dev/null \
       && [ -s "$part.t.wav" ] && [ "$(soxi -s "$part.t.wav" 2>/dev/null || echo 0)" -gt 0 ]; then
      mv -f "$part.t.wav" "$part"
    else
      rm -f "$part.t.wav"
    fi
    mv -f "$part" "$out/$0"
  ' <"$todo"
fi

# Files no longer listed go; the manifest lists only files that exist now.
declare -A listed=()
while IFS=$'\t' read -r file sum word; do listed["$file"]=1; done <"$list"
if [ -z "${ZEK_WORD_SOUNDS_LIMIT:-}" ]; then
  while IFS= read -r -d '' f; do
    rel=${f#"$out/"}
    [ -n "${listed[$rel]:-}" ] || rm -f "$f"
  done < <(find "$out" -name '*.wav' -print0)
fi
missing=$(write_manifest "$list" "$manifest" "$settings" "$out")

"$tool" wavebase-make "$dist/ZEK_E/e_w.zek" "$list" --sound-dir "$dist/wave"
if [ "$missing" -gt 0 ]; then
  echo "word-sounds: warning: $missing word(s) could not be spoken" >&2
fi
exit 0
