#!/usr/bin/env bash
# Starts the trainer on a private X display with a real Wubi input method (IBus), for checking by
# hand what a learner's input method does to the code boxes and the typing test:
#   scripts/ime-session.sh            # display :99, 1280x1024
#   DISPLAY=:99 xdotool type "gf"     # keys go through the input method
#   import -display :99 -window root shot.png
# Stop it with: scripts/ime-session.sh stop
set -euo pipefail
cd "$(dirname "$0")/.."
display=${IME_DISPLAY:-:99}

if [ "${1:-}" = stop ]; then
  pkill -f "build/vardelo" || true
  pkill ibus-daemon || true
  pkill -f "Xvfb $display" || true
  exit 0
fi

extra=(ibus ibus-table-wubi xdotool dbus-x11 imagemagick xvfb)
missing=()
for p in "${extra[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
[ -x build/vardelo ] || { cmake -S . -B build && cmake --build build -j2 --target vardelo; }

Xvfb "$display" -screen 0 1280x1024x24 >/dev/null 2>&1 &
sleep 1
export DISPLAY=$display
eval "$(dbus-launch --sh-syntax)"
ibus-daemon --daemonize --xim --replace --panel=disable >/dev/null 2>&1
sleep 2
ibus engine table:wubi-jidian86
QT_IM_MODULE=ibus QT_QPA_PLATFORM=xcb build/vardelo >/dev/null 2>&1 &
sleep 2
echo "Vardelo runs on $display with the IBus Wubi engine; the window is centred on a 1280x1024 screen."
