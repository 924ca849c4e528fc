#!/bin/sh
# run-drive.sh PROGRAM SCRIPT: runs one driver script in a scratch directory (pictures from
# "shot" land there) with a settings file and home of its own; exit code of the program.
set -u
program=$1
script=$2
scratch=$(mktemp -d "${TMPDIR:-/tmp}/zek-drive.XXXXXX") || exit 2
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 2
ZEK_SETTINGS="$scratch/settings.ini" HOME="$scratch" XDG_CONFIG_HOME="$scratch/config" \
  XDG_DATA_HOME="$scratch/share" QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} ZEK_AUDIO=${ZEK_AUDIO:-null} \
  "$program" --drive "$script"
