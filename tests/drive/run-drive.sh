#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# run-drive.sh PROGRAM SCRIPT: runs one driver script in a scratch directory (pictures from
# "shot" land there) with a settings file and home of its own; exit code of the program.
# Beside the script name.drive, an optional name.ini (or name.drive.ini) becomes the settings
# file ("@SCRATCH@" stands for the scratch directory), and an optional executable name.setup
# (or name.drive.setup) runs in the scratch directory first, with ZEK_DIST naming the
# installation; an optional name.check runs there after the program ended well, and its
# exit code counts. An optional name.seed holds the ZEK_SEED of this script (the draws it
# relies on). ZEK_DRIVE_KEEP=1 keeps the scratch directory.
set -u
program=$1
script=$2
scratch=$(mktemp -d "${TMPDIR:-/tmp}/zek-drive.XXXXXX") || exit 2
[ -n "${ZEK_DRIVE_KEEP:-}" ] || trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 2
base=${script%.drive}
for ini in "$script.ini" "$base.ini"; do
  if [ -f "$ini" ]; then
    sed "s|@SCRATCH@|$scratch|g" "$ini" > "$scratch/settings.ini" || exit 2
    break
  fi
done
for setup in "$script.setup" "$base.setup"; do
  if [ -f "$setup" ]; then
    ZEK_DIST=$(dirname "$program") "$setup" || { echo "run-drive.sh: $setup failed" >&2; exit 2; }
    break
  fi
done
[ -f "$base.seed" ] && ZEK_SEED=$(cat "$base.seed") && export ZEK_SEED
# An optional name.ulimit holds the address-space limit (KB) the program runs under.
limit=
[ -f "$base.ulimit" ] && limit=$(cat "$base.ulimit")
# A sanitizer build reserves terabytes of shadow address space; it checks memory itself.
[ -n "${ASAN_OPTIONS:-}" ] && limit=
(
  if [ -n "$limit" ]; then ulimit -v "$limit" || exit 2; fi
  ZEK_SETTINGS="$scratch/settings.ini" HOME="$scratch" XDG_CONFIG_HOME="$scratch/config" \
    XDG_DATA_HOME="$scratch/share" QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} ZEK_AUDIO=${ZEK_AUDIO:-null} \
    exec "$program" --drive "$script"
)
status=$?
[ "$status" -eq 0 ] || exit "$status"
# An optional executable name.check (or name.drive.check) looks at what the run left behind.
for check in "$script.check" "$base.check"; do
  if [ -f "$check" ]; then
    ZEK_DIST=$(dirname "$program") "$check" || { echo "run-drive.sh: $check failed" >&2; exit 1; }
    break
  fi
done
exit 0
