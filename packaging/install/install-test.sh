#!/usr/bin/env bash
# The package as a user meets it: installed with apt into a fresh Debian root that holds nothing
# else, then started there.
#
#   packaging/install/install-test.sh RELEASE DEB GLYPH_CHECK OUT
#
# RELEASE is bookworm or trixie; DEB the package; GLYPH_CHECK the build's vardelo_glyph_check; OUT
# a folder for the log and the pictures. Inside the root it
#   0. writes down what apt would bring with the package, without and with recommended packages
#      (apt-figures.sh);
#   1. installs DEB with apt, without recommended packages: what it depends on must be enough;
#   2. starts the installed /usr/bin/vardelo on an X server, waits for its window and takes a
#      picture of it, then of the single-character page; its standard error must not report a
#      missing face;
#   3. runs GLYPH_CHECK on the installed data folder: every text of every page, the tab row among
#      them, is drawn in the faces the program means, with no character as a box; a fault names
#      the text, the page and the face;
#   4. removes the Song face's package and runs GLYPH_CHECK again: the missing face is reported,
#      and a stand-in draws every text, with no box.
# Needs root, debootstrap, Xvfb, xdotool and ImageMagick on this machine (scripts/setup-debian.sh);
# leaves nothing behind. Takes one to two minutes on a quiet machine, most of it debootstrap and apt.
set -euo pipefail
# Read whole before it runs: a script edited while it runs must not change what this run does.
{
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/debian-root.sh"

[ $# -eq 4 ] || { sed -n '2,/^set -e/p' "$0" | sed '$d'; exit 2; }
release=$1 deb=$(readlink -f "$2") check=$(readlink -f "$3")
open_log "$4" "install-$release.log"
out=$OUT log=$LOG

root="" XVFB_PID=""
finish() {
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
  remove_root "$root"
}
trap finish EXIT

start=$(date +%s)
say "== fresh $release root"
root=$(make_root "$release" "")
say "== apt install ./$(basename "$deb")"
cp "$deb" "$root/tmp/"
in_root "$root" apt-get update -qq >> "$log" 2>&1
"$here/apt-figures.sh" "$root" "$deb" | sed "s/^/apt on $release, /" | tee -a "$log"
if ! in_root "$root" apt-get install -y -q --no-install-recommends "/tmp/$(basename "$deb")" >> "$log" 2>&1; then
  tail -n 20 "$log"
  say "FAIL: apt could not install the package on $release"
  exit 1
fi
in_root "$root" dpkg-query -W -f='${Version}' vardelo | sed 's/^/installed vardelo /' | tee -a "$log"; echo
say "Chinese faces in the root: $(in_root "$root" fc-list :lang=zh family | sort -u | tr '\n' ';')"

start_xvfb
display=$XVFB_DISPLAY
enter_root "$root" x
failed=0

say "== the installed program on $display"
chroot "$root" /usr/bin/env -i PATH=/usr/bin:/bin HOME=/root LANG=C.UTF-8 DISPLAY="$display" \
  QT_X11_NO_MITSHM=1 /usr/bin/vardelo > "$out/vardelo-$release.out" 2> "$out/vardelo-$release.err" &
program=$!
window=$(window_of "$program" "$display" || true)
if [ -z "$window" ]; then
  say "FAIL: the installed program showed no window (it $(kill -0 "$program" 2>/dev/null && echo 'still runs' || echo 'ended'))"
  cat "$out/vardelo-$release.err" | tee -a "$log"
  exit 1
fi
# Until the first page has been painted, a picture could catch it half drawn: the program paints
# within a second here; wait for the window's picture to stop changing.
shot() {
  local file=$1 previous=""
  for _ in $(seq 50); do
    DISPLAY=$display import -window "$window" "$file" 2>/dev/null
    local now
    now=$(md5sum < "$file")
    [ "$now" = "$previous" ] && return 0
    previous=$now
    sleep 0.2
  done
}
shot "$out/installed-$release-page1.png"
# The single-character page: Ctrl+Tab thrice from the first page.
DISPLAY=$display xdotool windowfocus --sync "$window" 2>/dev/null || true
for _ in 1 2 3; do DISPLAY=$display xdotool key --window "$window" ctrl+Tab; done
shot "$out/installed-$release-page4.png"
say "pictures: installed-$release-page1.png, installed-$release-page4.png"
kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
if grep -q . "$out/vardelo-$release.err"; then
  say "standard error of the installed program:"
  tee -a "$log" < "$out/vardelo-$release.err"
fi
if grep -q '未安装字体\|未能载入' "$out/vardelo-$release.err"; then
  say "FAIL: the installed program misses a face"
  failed=1
fi

say "== every text of every page, in the installed faces"
cp "$check" "$root/tmp/vardelo_glyph_check"
mkdir -p "$root/tmp/glyphs"
if ! chroot "$root" /usr/bin/env -i PATH=/usr/bin:/bin HOME=/root LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen \
  /tmp/vardelo_glyph_check /usr/share/vardelo /tmp/glyphs 2>&1 | grep -v '^QStandardPaths' | tee -a "$log"; then
  failed=1
fi
for f in "$root"/tmp/glyphs/*.png; do cp "$f" "$out/checked-$release-$(basename "$f")"; done

say "== with the Song face removed, a stand-in draws every text"
in_root "$root" dpkg -r --force-depends fonts-arphic-gbsn00lp >> "$log" 2>&1
chroot "$root" /usr/bin/env -i PATH=/usr/bin:/bin HOME=/root LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen \
  /tmp/vardelo_glyph_check /usr/share/vardelo /tmp/glyphs-without --stand-ins 2>&1 | grep -v '^QStandardPaths' \
  | tee -a "$log" || failed=1
grep -q '^MISSING .*AR PL SungtiL GB' "$log" || { say "FAIL: the missing Song face was not reported"; failed=1; }

say "== $release: $([ $failed = 0 ] && echo passed || echo FAILED) in $(( $(date +%s) - start )) s"
exit $failed
exit
}
