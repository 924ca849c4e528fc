# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the set-up steps that speak texts into wave files: a manifest remembers each
# file's checksum under the settings it was made with, so a rerun makes only what is
# missing or changed. Sourced by bash scripts; not a step of its own.

# list_todo LIST TODO MANIFEST SETTINGS OUT: appends "file\0text\0" to TODO for every line
# "file<TAB>sum<TAB>text" of LIST whose file is missing, empty or made differently; prints
# how many.
list_todo() {
  local list=$1 todo=$2 manifest=$3 settings=$4 out=$5 file sum text count=0
  declare -A have=()
  if [ -f "$manifest" ] && [ "$(head -n 1 "$manifest")" = "# $settings" ]; then
    while IFS=$'\t' read -r file sum; do
      [ "${file:0:1}" = "#" ] && continue
      have["$file"]=$sum
    done <"$manifest"
  fi
  while IFS=$'\t' read -r file sum text; do
    if [ "${have[$file]:-}" != "$sum" ] || [ ! -s "$out/$file" ]; then
      printf '%s\0%s\0' "$file" "$text" >>"$todo"
      count=$((count + 1))
    fi
  done <"$list"
  echo "$count"
}

# write_manifest LIST MANIFEST SETTINGS OUT: lists only the files that exist now; prints how
# many of LIST are missing.
write_manifest() {
  local list=$1 manifest=$2 settings=$3 out=$4 file sum text
  {
    echo "# $settings"
    while IFS=$'\t' read -r file sum text; do
      [ -s "$out/$file" ] && printf '%s\t%s\n' "$file" "$sum"
    done <"$list"
  } >"$manifest.tmp"
  mv -f "$manifest.tmp" "$manifest"
  echo $(( $(wc -l <"$list") - $(grep -vc '^#' "$manifest" || true) ))
}
