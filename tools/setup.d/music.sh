#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Three calm instrumental pieces of about three minutes for the superlearning presentations
# and Bingo, made with sox and lame into the program directory's "MP3" folder (the default
# music folder). Only missing pieces are made; a learner who picks a music folder of his own
# in the settings hears his own music instead.
#   ZEK_DIST            the installation (set by ./zek)
#   ZEK_MUSIC_SECONDS   length of each piece (default 180; tests use less)
set -euo pipefail

dist=${ZEK_DIST:?ZEK_DIST is not set}
out="$dist/MP3"
seconds=${ZEK_MUSIC_SECONDS:-180}
chord=8  # seconds per chord

for t in sox lame; do
  if ! command -v "$t" >/dev/null 2>&1; then
    echo "music: $t is not installed; the presentations start without music" >&2
    exit 0
  fi
done

# One piece: name and a chord progression, each chord "root third fifth melody" as note names.
piece() {
  local name=$1 shift_reverb=$2
  shift 2
  local file="$out/$name.mp3"
  [ -s "$file" ] && return 0
  local work
  work=$(mktemp -d)
  local n=0 parts=()
  local chords=("$@")
  local count=$(( (seconds + chord - 1) / chord ))
  for (( i = 0; i < count; i++ )); do
    read -r a b c m <<<"${chords[$(( i % ${#chords[@]} ))]}"
    local part="$work/$(printf '%04d' "$n").wav"
    # A soft pad of three sines, a triangle an octave up and a plucked melody note, mixed
    # to stereo with the pad slightly apart; each chord swells in and fades out.
    sox -q -r 44100 -c 5 -n -c 2 "$part" synth "$chord" sine "$a" sine "$b" sine "$c" triangle "$a" pluck "$m" \
      remix 1v0.30,2v0.22,4v0.06,5v0.25 1v0.22,2v0.30,3v0.22,5v0.25 \
      fade q 2.5 "$chord" 3
    parts+=("$part")
    n=$((n + 1))
  done
  sox -q "${parts[@]}" "$work/all.wav" gain -8 reverb "$shift_reverb" tremolo 0.15 20 gain -n -4 trim 0 "$seconds" fade t 0 -0 4
  lame --quiet -V 6 --tt "$name" --ta "zek englisch" "$work/all.wav" "$work/piece.mp3"
  mv "$work/piece.mp3" "$file"
  rm -rf "$work"
  echo "music: $file"
}

mkdir -p "$out"
piece "Morgenlicht" 60 "C3 E3 G3 E5" "A2 C3 E3 C5" "F2 A2 C3 A4" "G2 B2 D3 D5"
piece "Stille See" 75 "D3 F3 A3 A4" "A#2 D3 F3 F4" "F2 A2 C3 C5" "C3 E3 G3 G4"
piece "Abendruhe" 85 "G2 B2 D3 B4" "E2 G2 B2 G4" "C3 E3 G3 E4" "D3 F#3 A3 F#4"
