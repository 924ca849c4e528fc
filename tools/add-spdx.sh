#!/usr/bin/env bash
# add-spdx.sh [--check] [ROOT]: puts the licence line
#   // SPDX-License-Identifier: GPL-3.0-or-later   (C++ sources and headers)
#   # SPDX-License-Identifier: GPL-3.0-or-later    (CMake, shell and Python files)
# at the top of every source file of ours below ROOT (default: the repository), after a
# "#!" line and a Python coding line. Files that have a licence line already stay as they
# are, so running it again changes nothing. Left alone: content/ (the product's data), test
# data and fuzz corpora, build folders, and anything third-party (third_party/, vendor/,
# external/, or a copyright notice of its own near the top).
# --check changes nothing; it lists the files without the line and fails when there are any.
set -euo pipefail

check=0
if [ "${1:-}" = "--check" ]; then
  check=1
  shift
fi
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

readonly LICENCE="SPDX-License-Identifier: GPL-3.0-or-later"

# Tracked files in a git checkout (new ones not yet ignored too), every file elsewhere.
list_files() {
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z --cached --others --exclude-standard
  else
    find . -path ./.git -prune -o -type f -print0 | sed -z 's|^\./||'
  fi
}

# The comment leader of a source file of ours, or nothing when the file is not one.
leader_for() {
  local f=$1
  case "$f" in
    content/* | build/* | build-*/* | */third_party/* | third_party/* | */vendor/* | vendor/* | \
      */external/* | external/* | fuzz/corpus/* | tests/*/data/* | .git/*)
      return ;;
  esac
  case "${f##*/}" in
    *.cpp | *.cc | *.c | *.h | *.hpp) echo "//" ;;
    CMakeLists.txt | *.cmake | *.sh | *.bash | *.py) echo "#" ;;
    *.*) ;;
    *)
      # Extensionless scripts: shell or Python by their "#!" line.
      if head -n 1 -- "$f" 2>/dev/null | grep -Eq '^#!.*[/ ](ba|da)?sh|^#!.*python'; then echo "#"; fi ;;
  esac
}

# A notice of someone else near the top ("Copyright (C) 2019 ...", "(c) 2019", "© 2019")
# marks a file we did not write.
foreign() {
  head -n 15 -- "$1" | grep -Eiq 'copyright[^a-z]*(\(c\)|©)?[^a-z]*[0-9]{4}|\(c\) *[0-9]{4}|© *[0-9]{4}'
}

has_licence() {
  head -n 5 -- "$1" | grep -q 'SPDX-License-Identifier:'
}

# Rewrites the file in place (mode and links kept) with the line after any "#!" line and
# Python coding line.
add_line() {
  local f=$1 line=$2 tmp
  tmp=$(mktemp)
  awk -v line="$line" '
    NR == 1 && /^#!/ { print; next }
    !done && NR <= 2 && /^#.*coding[:=]/ { print; next }
    !done { print line; done = 1 }
    { print }
    END { if (!done) print line }
  ' "$f" >"$tmp"
  cat "$tmp" >"$f"
  rm -f "$tmp"
}

changed=0
missing=0
skipped=()
while IFS= read -r -d '' f; do
  [ -f "$f" ] && [ ! -L "$f" ] || continue
  leader=$(leader_for "$f")
  [ -n "$leader" ] || continue
  has_licence "$f" && continue
  if foreign "$f"; then
    skipped+=("$f")
    continue
  fi
  if [ "$check" = 1 ]; then
    echo "$f"
    missing=$((missing + 1))
  else
    add_line "$f" "$leader $LICENCE"
    changed=$((changed + 1))
  fi
done < <(list_files)

for f in "${skipped[@]}"; do echo "add-spdx: left alone (a notice of its own): $f" >&2; done
if [ "$check" = 1 ]; then
  [ "$missing" = 0 ] || { echo "add-spdx: $missing files without a licence line" >&2; exit 1; }
  exit 0
fi
echo "add-spdx: licence line added to $changed files"
