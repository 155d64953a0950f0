#!/usr/bin/env bash
# What installing the package with apt would bring into a Debian root, without installing or
# downloading anything:
#
#   packaging/install/apt-figures.sh ROOT DEB
#
# ROOT is a Debian root whose package lists are up to date (apt-get update inside it), DEB the
# package. Prints two lines, without and with the recommended packages:
#   without Recommends: 95 packages, 130 MB to download, 385 MB installed
#   with Recommends: 577 packages, 426 MB to download, 1521 MB installed
# The packages are those apt's simulation would install, the package itself among them; the sizes
# are the sums of their archives' sizes (the package's own file not counted: it is not fetched from
# the archive) and of their installed sizes, as the archive lists them (MB: 10⁶ bytes; installed
# sizes count KiB, as apt does). apt's own summary is not used: it comes only
# with a real install, which apt goes on with unasked when it needs nothing more than named.
# install-test.sh runs it on every fresh root. Needs root.
set -euo pipefail
[ $# -eq 2 ] || { sed -n '2,/^set -e/p' "$0" | sed '$d'; exit 2; }
root=$1 deb=$2
# A copy of its own: the caller may have put the package in the root's /tmp under its own name.
name=figures-$(basename "$deb")
cp "$deb" "$root/tmp/$name"
trap 'rm -f "$root/tmp/$name"' EXIT

in_root() {
  chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"
}
mb() { awk -v b="$1" 'BEGIN { m = b / 1e6; printf(m < 100 ? "%.1f MB" : "%.0f MB", m) }'; }

figures() {
  local sim
  sim=$(in_root apt-get -s install "$@" "/tmp/$name") || { echo "$sim" >&2; return 1; }
  # "Inst NAME (VERSION ARCHIVE [ARCH])", the package itself from its file.
  local inst
  inst=$(sed -n 's/^Inst \([^ ]*\) (\([^ ]*\) .*/\1=\2/p' <<< "$sim")
  local count others
  count=$(grep -c . <<< "$inst")
  others=$(grep -v "^$(dpkg-deb -f "$deb" Package)=" <<< "$inst" || true)
  # Sizes of the others from the archive lists; the package's installed size from its file.
  local sizes
  sizes=$( { [ -z "$others" ] || in_root apt-cache show --no-all-versions $others; } \
    | awk '/^Size:/ { d += $2 } /^Installed-Size:/ { i += $2 } END { printf "%d %d", d, i }')
  local download=${sizes% *} installed=${sizes#* }
  installed=$((installed + $(dpkg-deb -f "$deb" Installed-Size)))
  echo "$count packages, $(mb "$download") to download, $(mb $((installed * 1024))) installed"
}
echo "without Recommends: $(figures --no-install-recommends)"
echo "with Recommends: $(figures --install-recommends)"
