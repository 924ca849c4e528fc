#!/bin/sh
# package-run.sh DEB [ROOT]: the built package, unpacked, runs its own program through the
# installation's driver script. With ROOT (a Debian tree made by debootstrap), the package is
# installed there by apt-get with only what it depends on, and the program runs inside it.
set -u
deb=$(readlink -f "${1:?usage: package-run.sh DEB [ROOT]}")
root=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
script=$here/installed.drive
run_drive=$here/../drive/run-drive.sh
fail() { echo "package-run: $*" >&2; exit 1; }

if [ -z "$root" ]; then
  tree=$(mktemp -d "${TMPDIR:-/tmp}/zek-deb.XXXXXX") || exit 2
  trap 'rm -rf "$tree"' EXIT
  dpkg-deb -x "$deb" "$tree" || fail "the package does not unpack"
  program=$tree/usr/lib/zek-englisch/zek-englisch
  [ -x "$program" ] || fail "the package holds no program"
  "$tree/usr/lib/zek-englisch/zek-tool" --version || fail "the packaged zek-tool does not start"
  QT_QPA_PLATFORM=offscreen ZEK_AUDIO=null ZEK_SEED=1 sh "$run_drive" "$program" "$script" \
    || fail "the packaged program failed the driver script"
  echo "package-run: the unpacked package runs"
  exit 0
fi

# A clean root: nothing of the build machine, only the package and what apt brings for it.
[ -x "$root/usr/bin/apt-get" ] || fail "$root is no Debian tree"
mkdir -p "$root/tmp/zek" || exit 2
cp "$deb" "$root/tmp/zek/" && cp "$script" "$run_drive" "$root/tmp/zek/" || exit 2
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null
for fs in proc sys dev; do mountpoint -q "$root/$fs" || mount --bind "/$fs" "$root/$fs"; done
trap 'for fs in proc sys dev; do umount "$root/$fs" 2>/dev/null; done' EXIT
name=$(basename "$deb")
chroot "$root" sh -c "apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq ./tmp/zek/$name" \
  </dev/null || fail "apt-get cannot install the package in the clean root"
chroot "$root" sh -c 'command -v g++ cmake qmake6 >/dev/null && echo "package-run: build tools present" >&2 && exit 1; exit 0' \
  || fail "the clean root holds build tools"
chroot "$root" /usr/bin/zek-tool --version || fail "the installed zek-tool does not start"
chroot "$root" env QT_QPA_PLATFORM=offscreen ZEK_AUDIO=null ZEK_SEED=1 \
  sh /tmp/zek/run-drive.sh /usr/bin/zek-englisch /tmp/zek/installed.drive \
  || fail "the installed program failed the driver script in the clean root"
echo "package-run: installed and run in the clean root"
