#!/usr/bin/env bash
# Starts the trainer on a private X display with a real Wubi input method (IBus), for checking by
# hand what a learner's input method does to the code boxes and the typing test:
#   scripts/ime-session.sh            # display :99, 1280x1024
#   DISPLAY=:99 xdotool type "gf"     # keys go through the input method
#   import -display :99 -window root shot.png
# The trainer runs with its accessibility bridge on, so tools on the session's bus can read it.
# Stop it with: scripts/ime-session.sh stop
# The session remembers what it started, by process id, in a state file; stop ends exactly those
# processes and the helpers they started, nothing else on the machine.
set -euo pipefail
cd "$(dirname "$0")/.."
display=${IME_DISPLAY:-:99}
state="${TMPDIR:-/tmp}/vardelo-ime-session-${display#:}.pids"

# Every process below `pid`, children first.
descendants() {
  local kid
  for kid in $(ps -o pid= --ppid "$1" 2>/dev/null); do
    descendants "$kid"
    echo "$kid"
  done
}

if [ "${1:-}" = stop ]; then
  [ -f "$state" ] || { echo "No session on $display."; exit 0; }
  pids=()
  # Latest first: the trainer, the helpers, the bus, the display.
  for pid in $(tac "$state"); do
    pids+=($(descendants "$pid") "$pid")
  done
  kill "${pids[@]}" 2>/dev/null || true
  for _ in $(seq 50); do
    alive=0
    for pid in "${pids[@]}"; do kill -0 "$pid" 2>/dev/null && alive=1; done
    [ $alive -eq 0 ] && break
    sleep 0.1
  done
  kill -9 "${pids[@]}" 2>/dev/null || true
  rm -f "$state"
  exit 0
fi

[ -f "$state" ] && { echo "A session already runs on $display: $0 stop" >&2; exit 1; }

extra=(ibus ibus-table-wubi xdotool dbus imagemagick xvfb at-spi2-core)
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

remember() { if [ -n "$1" ]; then echo "$1" >> "$state"; fi; }
# The process id that owns `name` on the session bus.
owner() {
  dbus-send --session --print-reply=literal --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.GetConnectionUnixProcessID "string:$1" 2>/dev/null | awk '{print $NF}'
}
# Polls a command until it succeeds, for at most ten seconds.
await() {
  for _ in $(seq 100); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "Gave up waiting for: $*" >&2
  return 1
}

: > "$state"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
remember $!
export DISPLAY=$display
await xdotool getdisplaygeometry

bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1)
export DBUS_SESSION_BUS_ADDRESS=$(echo "$bus" | sed -n 1p)
remember "$(echo "$bus" | sed -n 2p)"

# The daemon ends itself when its parent does, so it runs detached; the session bus knows its id.
ibus-daemon --daemonize --panel=disable
await ibus engine table:wubi-jidian86
remember "$(owner org.freedesktop.IBus)"

QT_IM_MODULE=ibus QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 build/vardelo >/dev/null 2>&1 &
remember $!
await xdotool search --name VardeloV5.0

# The accessibility bus is started by the session bus for the trainer; remembered too, as it
# may leave its parent.
a11y=$(owner org.a11y.Bus) && remember "$a11y"

echo "Vardelo runs on $display with the IBus Wubi engine; the window is centred on a 1280x1024 screen."
echo "Session bus: $DBUS_SESSION_BUS_ADDRESS"
