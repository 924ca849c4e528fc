#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# install-run.sh BUILD SCRIPT RUN_DRIVE: installs BUILD into a temporary prefix, checks the
# installed files and the desktop entry, then runs SCRIPT through the command of the entry's
# Exec line; the program finds its content root beside its resolved executable.
set -u
build=$1
script=$2
run_drive=$3
prefix=$(mktemp -d "${TMPDIR:-/tmp}/zek-install.XXXXXX") || exit 2
trap 'rm -rf "$prefix"' EXIT
fail() { echo "install-run: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1 || { cat "$prefix.log"; rm -f "$prefix.log"; fail "cmake --install failed"; }
rm -f "$prefix.log"

for f in bin/zek-englisch bin/zek-tool lib/zek-englisch/zek-englisch lib/zek-englisch/zek-tool \
         lib/zek-englisch/ZEK_E/hzek/main.htx lib/zek-englisch/wave/ZEK_E \
         "lib/zek-englisch/Vokabeln (E)/Grundwortschatz" \
         share/icons/hicolor/scalable/apps/zek-englisch.svg share/icons/hicolor/48x48/apps/zek-englisch.png; do
  [ -e "$prefix/$f" ] || fail "$f is not installed"
done
[ -x "$prefix/bin/zek-englisch" ] || fail "bin/zek-englisch is not executable"

entry=$prefix/share/applications/zek-englisch.desktop
[ -f "$entry" ] || fail "no desktop entry"
if command -v desktop-file-validate >/dev/null 2>&1; then
  desktop-file-validate "$entry" || fail "the desktop entry does not validate"
fi
grep -qx 'Icon=zek-englisch' "$entry" || fail "the desktop entry names no icon zek-englisch"
exec_line=$(sed -n 's/^Exec=//p' "$entry")
program=$(printf '%s' "$exec_line" | sed 's/^"\(.*\)"$/\1/')
[ "$program" = "$prefix/bin/zek-englisch" ] || fail "Exec is $exec_line, not the installed program"

# The companion tool reads an installed page.
"$prefix/bin/zek-tool" items "$prefix/lib/zek-englisch/ZEK_E/hzek/main.htx" --cond e,cdrom >/dev/null \
  || fail "the installed zek-tool cannot read the installed start page"

# The installed program, with nothing of the build folder on its path.
sh "$run_drive" "$program" "$script" || fail "the installed program failed the driver script"
