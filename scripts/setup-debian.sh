#!/usr/bin/env bash
# Installs every Debian package that building, testing and running Vardelo needs, skipping what
# is already installed. Uses sudo when not run as root.
set -euo pipefail

packages=(
  # toolchain
  g++ cmake make ccache pkg-config
  # Qt 6 Widgets (its JPEG plugin comes with libqt6gui6, decoding through libjpeg-turbo)
  qt6-base-dev qt6-base-dev-tools libgl-dev
  # Qt's own texts (a message box's button, the boxes' context menus) in Chinese under any locale
  qt6-translations-l10n
  # the lexicon tables
  libsqlite3-dev
  # the Wubi 86 dictionary the lexicon tables are built from
  rime-data-wubi
  # fonts in the mainland standard forms: AR PL SungtiL GB for the window's Song face, AR PL
  # KaitiM GB for its Kai face, Noto Serif and Sans CJK SC in the pictures and, cut by fontTools at
  # build time, the few root glyphs outside GB2312 the program carries (the package does not need
  # fonts-noto-cjk); DejaVu Sans for Latin text, DejaVu Sans Mono for codes
  fonts-arphic-gbsn00lp fonts-arphic-gkai00mp fonts-noto-cjk fonts-dejavu-core fontconfig python3-fonttools
  # real-window tests and screenshots
  xvfb xauth
  # the test that the program leaves nothing behind: dbus-launch is what would start a bus for a
  # session that has none
  dbus-x11
  # the Debian package and its checks; debootstrap for the fresh roots it is installed into
  # (build.sh install-test, scripts/fresh-root.sh)
  dpkg-dev file desktop-file-utils appstream lintian debootstrap
  # the end-to-end test: a real Wubi input method under each framework (IBus and its Wubi table;
  # Fcitx 5, its Qt 6 module and its Chinese tables, and libime-bin to read the Wubi table), key
  # events, the accessibility bus, screenshots
  ibus ibus-table-wubi fcitx5 fcitx5-frontend-qt6 fcitx5-chinese-addons libime-bin
  xdotool dbus at-spi2-core python3 python3-pyatspi imagemagick
  # the same under a headless Wayland compositor: sway (run as an unprivileged user), the Qt
  # Wayland module, a virtual keyboard and screenshots
  sway qt6-wayland wtype grim
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
