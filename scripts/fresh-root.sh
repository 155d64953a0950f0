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
#   scripts/fresh-root.sh RELEASE [OUT] [--again N] [--load]
#
# RELEASE: bookworm (Debian 12) or trixie (Debian 13). --again N runs `./build.sh test` N more times
# in the same root once the first run has passed (every run must pass); --load runs those beside a
# load that keeps starting processes on every core, the kind of load a test that races loses under.
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

usage() { sed -n '2,/^set -e/p' "$0" | sed '$d'; exit 2; }
[ $# -ge 1 ] || usage
release=$1 folder=/var/tmp/vardelo-fresh-$1 again=0 load=no
shift
while [ $# -gt 0 ]; do
  case $1 in
    --again) [ $# -ge 2 ] && [ "$2" -ge 0 ] 2>/dev/null || usage; again=$2; shift 2 ;;
    --load) load=yes; shift ;;
    -*) usage ;;
    *) folder=$1; shift ;;
  esac
done
open_log "$folder" "fresh-$release.log"
out=$OUT log=$LOG

root="" program="" XVFB_PID="" loaders=()
finish() {
  [ -n "$program" ] && kill "$program" 2>/dev/null
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
  stop_load
  remove_root "$root"
}
trap finish EXIT

# One loop per core that starts a short-lived process after another, and one more.
start_load() {
  local n
  for n in $(seq $(( $(nproc) + 1 ))); do
    (while :; do /bin/true; done) > /dev/null 2>&1 &
    loaders+=($!)
  done
}
stop_load() {
  local p
  for p in "${loaders[@]}"; do kill "$p" 2>/dev/null || true; done
  loaders=()
}

# test_run NAME  runs the README's test command in the root; its output goes to OUT/NAME.log.
test_run() {
  local t status
  t=$(date +%s)
  if chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
    sh -c 'cd /root/vardelo && exec ./build.sh test' > "$out/$1.log" 2>&1; then
    status=passed
  else
    status=FAILED
  fi
  grep -E '\*\*\*|Failed  |Not Run' "$out/$1.log" | tee -a "$log" || true
  say "$1: ./build.sh test $status after $(elapsed "$t"), $(grep -E 'tests passed|tests failed out of' "$out/$1.log" | tail -n1), load $(cut -d' ' -f1-3 /proc/loadavg)"
  [ "$status" = passed ]
}

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
test_run "test-$release" || { tail -n 60 "$out/test-$release.log"; exit 1; }
if [ "$again" -gt 0 ]; then
  [ "$load" = yes ] && { start_load; say "== $again runs more, beside a load of $(( $(nproc) + 1 )) process-starting loops"; } \
    || say "== $again runs more"
  failed=0
  for n in $(seq "$again"); do
    test_run "test-$release-again-$n" || failed=$((failed + 1))
  done
  stop_load
  say "$((again - failed)) of $again runs more passed"
  [ "$failed" -eq 0 ] || exit 1
fi

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
