#!/usr/bin/env bash
# The README's two commands as a new contributor meets them: a fresh Debian root of the given
# release (debootstrap minbase, plus git to clone with), a clone of this repository's committed
# HEAD inside it, then
#   ./build.sh run    the trainer must come up with its window (on an X server of this machine),
#                     and is then closed;
#   ./build.sh test   every test must pass;
# and last the install test of the package that build made, in another fresh root of the same
# release (packaging/install/install-test.sh).
#
#   scripts/fresh-root.sh RELEASE [OUT]     RELEASE: bookworm (Debian 12) or trixie (Debian 13)
#
# OUT (default /var/tmp/vardelo-fresh-RELEASE) receives the logs and pictures. Packages come from
# the Debian archive this machine's apt uses, and nothing else from the network. The roots are
# removed at the end, whatever happened: nothing is left behind but OUT. Needs root, debootstrap,
# Xvfb and xdotool (scripts/setup-debian.sh installs them). Takes 20 to 40 minutes on two cores.
set -euo pipefail
# Read whole before it runs: a script edited while it runs must not change what this run does.
{
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/.." && pwd)
source "$here/debian-root.sh"

[ $# -ge 1 ] || { sed -n '2,/^set -e/p' "$0" | sed '$d'; exit 2; }
release=$1
open_log "${2:-/var/tmp/vardelo-fresh-$release}" "fresh-$release.log"
out=$OUT log=$LOG

root="" program="" XVFB_PID=""
finish() {
  [ -n "$program" ] && kill "$program" 2>/dev/null
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
  remove_root "$root"
}
trap finish EXIT

elapsed() { echo $(( $(date +%s) - $1 )) s; }
start=$(date +%s)
say "== fresh $release root, with git"
root=$(make_root "$release" git)
in_root "$root" dpkg-query -W -f='${Version}\n' base-files | sed "s/^/base-files /" | tee -a "$log"
git clone -q --no-hardlinks "$repo" "$root/root/vardelo"
say "clone of $(git -C "$repo" rev-parse --short HEAD): $(git -C "$repo" log -1 --format=%s | cut -c1-80)"
start_xvfb
enter_root "$root" x

say "== ./build.sh run"
t=$(date +%s)
chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
  DISPLAY="$XVFB_DISPLAY" sh -c 'cd /root/vardelo && exec ./build.sh run' > "$out/run-$release.log" 2>&1 &
program=$!
# The set-up and the build come first: up to half an hour.
if window=$(window_of "$program" "$XVFB_DISPLAY" 18000); then
  DISPLAY=$XVFB_DISPLAY import -window "$window" "$out/run-$release.png" 2>/dev/null || true
  say "the trainer's window came up after $(elapsed "$t"): $(DISPLAY=$XVFB_DISPLAY xdotool getwindowname "$window")"
  kill "$program"
  wait "$program" 2>/dev/null || true
  program=""
else
  wait "$program" 2>/dev/null && status=0 || status=$?
  program=""
  tail -n 40 "$out/run-$release.log" | tee -a "$log"
  say "FAIL: ./build.sh run ended ($status) without a window"
  exit 1
fi

say "== ./build.sh test"
t=$(date +%s)
if chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
  sh -c 'cd /root/vardelo && exec ./build.sh test' > "$out/test-$release.log" 2>&1; then
  tested=passed
else
  tested=FAILED
fi
grep -E 'tests passed|tests failed|Total Test time|\*\*\*|Failed|Passed' "$out/test-$release.log" | tee -a "$log" > /dev/null
grep -E 'tests passed|tests failed out of|Total Test time' "$out/test-$release.log" | tee -a "$log"
say "./build.sh test $tested after $(elapsed "$t")"
[ "$tested" = passed ] || { tail -n 60 "$out/test-$release.log"; exit 1; }

say "== the package this release built, installed in another fresh $release root"
deb=$(ls "$root"/root/vardelo/build/packaging/check/out/vardelo_*.deb)
cp "$deb" "$root/root/vardelo/build/packaging/vardelo_glyph_check" "$out/"
remove_root "$root"
root=""
kill "$XVFB_PID" 2>/dev/null || true
XVFB_PID=""
"$repo/packaging/install/install-test.sh" "$release" "$out/$(basename "$deb")" "$out/vardelo_glyph_check" "$out" \
  | tee -a "$log"
say "== $release: all passed in $(elapsed "$start")"
exit
}
