#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# check-package.sh DEB: what a Debian archive would check of the package. lintian must report no
# error (warnings are listed); the desktop entry and the AppStream metainfo inside it must
# validate. Exit 1 when any of them fails.
set -euo pipefail
deb=${1:?usage: check-package.sh DEB}
status=0

echo "== lintian"
lintian --fail-on error --tag-display-limit 0 "$deb" || status=1

tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
dpkg-deb -x "$deb" "$tree"

echo "== desktop-file-validate"
desktop-file-validate "$tree/usr/share/applications/zek-englisch.desktop" || status=1

echo "== appstreamcli validate"
appstreamcli validate --no-net "$tree"/usr/share/metainfo/*.metainfo.xml || status=1

echo "== size"
du -h "$deb" | cut -f1
du -sh "$tree/usr" | cut -f1
exit $status
