#!/usr/bin/env bash
# Starts the trainer on a private X display with a real Wubi input method, for checking by hand
# what a learner's input method does to the code boxes and the typing test:
#   scripts/ime-session.sh [ibus|fcitx5]   # IBus (the default) or Fcitx 5, on display :99
#   DISPLAY=:99 xdotool type "gf"          # keys go through the input method
#   import -display :99 -window root shot.png
#   scripts/ime-session.sh stop
# IME_DISPLAY picks another display. The session is the end-to-end test's own
# (tests/ime/ime_session.py): a private D-Bus session and home, the trainer with its
# accessibility bridge on, and a state file through which stop ends exactly the processes the
# session started, nothing else on the machine.
set -euo pipefail
cd "$(dirname "$0")/.."
display=${IME_DISPLAY:-:99}
session=(/usr/bin/python3 -B tests/ime/ime_session.py --state "${TMPDIR:-/tmp}/vardelo-ime-session-${display#:}.json")

if [ "${1:-}" = stop ]; then
  exec "${session[@]}" stop
fi
scripts/setup-debian.sh
[ -x build/vardelo ] || { cmake -S . -B build && cmake --build build -j2 --target vardelo; }
exec "${session[@]}" start --framework "${1:-ibus}" --display "$display" build/vardelo
