#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Speaks the language lab's sentences into the installation: wave/Labor/<n>/lab_<nnnn>.wav,
# the place the lab plays them from ("XE:\Labor\" + the sentence's sound file). The files keep
# the names the lesson table holds but are Ogg Vorbis (libsndfile reads them by their header).
# The voice is the one chosen in "Aufnahme-Einstellungen" (zek-tool voice). Only files that are
# missing or whose sentence (or voice) changed are made again; a manifest beside them keeps a
# checksum per file.
#   ZEK_DIST                 the installation (set by ./zek)
#   ZEK_TOOL                 zek-tool to use (default $ZEK_DIST/zek-tool)
#   ZEK_VOICE                a voice instead of the chosen one (flite-rms, espeak-en-gb)
#   ZEK_LAB_SOUNDS_LIMIT     only the first N sentences (tests)
set -euo pipefail

dist=${ZEK_DIST:?ZEK_DIST is not set}
tool=${ZEK_TOOL:-$dist/zek-tool}
out="$dist/wave/Labor"
manifest="$out/manifest.txt"

[ -x "$tool" ] || { echo "lab-sounds: $tool not found" >&2; exit 1; }
voice=${ZEK_VOICE:-$("$tool" voice)}
if [ "$voice" = espeak-en-gb ] && ! command -v espeak-ng >/dev/null 2>&1; then
  echo "lab-sounds: espeak-ng is not installed; the lab's spoken sentences are left out" >&2
  exit 0
fi
settings="$voice; ogg vorbis"

source "$(dirname "${BASH_SOURCE[0]}")/../setup/manifest.bash"

list=$(mktemp)
todo=$(mktemp)
trap 'rm -f "$list" "$todo"' EXIT
"$tool" lab-sounds >"$list"
if [ -n "${ZEK_LAB_SOUNDS_LIMIT:-}" ]; then
  head -n "$ZEK_LAB_SOUNDS_LIMIT" "$list" >"$list.cut" && mv "$list.cut" "$list"
fi

count=$(list_todo "$list" "$todo" "$manifest" "$settings" "$out")

if [ "$count" -gt 0 ]; then
  echo "lab-sounds: speaking $count sentence(s) into $out ($voice)"
  mkdir -p "$out"
  # Two processes, each speaking 100 files per call (the voice loads once per call); every file
  # is written under a temporary name first, so an interrupted run leaves nothing half-made.
  xargs -0 -n 200 -P 2 "$tool" speak-files "$out" --voice "$voice" <"$todo" || true
fi

# The manifest lists only files that exist now.
missing=$(write_manifest "$list" "$manifest" "$settings" "$out")
# The program starts without them ("Vorlesen" then says so); the next run tries again.
if [ "$missing" -gt 0 ]; then
  echo "lab-sounds: warning: $missing sentence(s) could not be spoken" >&2
fi
exit 0
