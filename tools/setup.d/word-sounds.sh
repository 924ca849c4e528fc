#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Speaks every English word of the shipped collections and the verb infinitives into the
# installation (wave/Woerter/<letter>/<word>.wav, Ogg Vorbis inside, as lab-sounds.sh says) with
# the voice chosen in "Aufnahme-Einstellungen", and enters them in the recordings store
# ZEK_E/e_w.zek as "XE:\Woerter\...". Only missing or changed words are spoken again; the
# learner's own entries in the store stay.
#   ZEK_DIST                 the installation (set by ./zek)
#   ZEK_TOOL                 zek-tool to use (default $ZEK_DIST/zek-tool)
#   ZEK_VOICE                a voice instead of the chosen one (flite-rms, espeak-en-gb)
#   ZEK_WORD_SOUNDS_LIMIT    only the first N words (tests)
set -euo pipefail

dist=${ZEK_DIST:?ZEK_DIST is not set}
tool=${ZEK_TOOL:-$dist/zek-tool}
out="$dist/wave/Woerter"
manifest="$out/manifest.txt"

[ -x "$tool" ] || { echo "word-sounds: $tool not found" >&2; exit 1; }
voice=${ZEK_VOICE:-$("$tool" voice)}
if [ "$voice" = espeak-en-gb ] && ! command -v espeak-ng >/dev/null 2>&1; then
  echo "word-sounds: espeak-ng is not installed; the words stay unspoken" >&2
  "$tool" wavebase-make "$dist/ZEK_E/e_w.zek"
  exit 0
fi
settings="$voice; ogg vorbis; silence trimmed"

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
  echo "word-sounds: speaking $count word(s) into $out ($voice)"
  # Two processes, 200 words per call; silence at both ends is cut off. Files are written
  # under a temporary name and renamed, so an interrupted run leaves nothing half-made.
  xargs -0 -n 400 -P 2 "$tool" speak-files "$out" --voice "$voice" --trim <"$todo" || true
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
