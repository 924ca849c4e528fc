#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# hostile-files.sh ZEK_TOOL: files a learner may open or be sent, each read under a 1 GB
# address-space limit. Every one must end with its message (or be shown bounded), never with
# a crash or an exhausted memory. ZEK_HOSTILE_TIME=1 prints the peak memory of each case.
set -u
tool=$1
here=$(dirname "$0")
dir=$(mktemp -d "${TMPDIR:-/tmp}/zek-hostile.XXXXXX") || exit 2
trap 'rm -rf "$dir"' EXIT
python3 "$here/make-hostile.py" "$dir" || exit 2
cd "$dir" || exit 2
failed=0
# A sanitizer build reserves terabytes of shadow address space and checks memory itself.
limit=1000000
[ -n "${ASAN_OPTIONS:-}" ] && limit=unlimited

# case NAME EXPECTED-RC TEXT-IN-OUTPUT ARGS...
case_() {
  name=$1 want=$2 text=$3
  shift 3
  if [ -n "${ZEK_HOSTILE_TIME:-}" ]; then
    (ulimit -v "$limit"; /usr/bin/time -f "$name: %M KB peak, %e s" "$tool" "$@") > "$name.out" 2>&1
  else
    (ulimit -v "$limit"; "$tool" "$@") > "$name.out" 2>&1
  fi
  rc=$?
  if [ "$rc" -ne "$want" ] || ! grep -q -- "$text" "$name.out"; then
    echo "FAIL $name: exit $rc (want $want), output:"; head -c 2000 "$name.out"; echo
    failed=1
  else
    echo "ok   $name"
  fi
  [ -n "${ZEK_HOSTILE_TIME:-}" ] && grep "^$name:" "$name.out"
  return 0
}

case_ kvtml-deep-container 1 "zu tief verschachtelt" import deep-container.kvtml -o out.asc
case_ kvtml-deep-text 1 "zu tief verschachtelt" import deep-text.kvtml -o out.asc
case_ page-word-bomb 1 "zu gro" items bomb.htx
case_ page-wide-include 1 "zu gro" items wide.htx
case_ store-nul-bomb 1 "Fehler beim Laden" wavebase-info bomb_e_w.zek
case_ satz-300-parts 0 "" render satz.htx -o satz.png
case_ satz-60-sentences 0 "zu gro" render satz60.htx -o satz60.png
exit $failed
