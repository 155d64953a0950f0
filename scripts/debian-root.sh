# Sourced by the scripts that work in a fresh Debian root (packaging/install/install-test.sh,
# scripts/fresh-root.sh): making one, entering it, and taking it away again, leaving nothing
# behind on the machine. Needs root and debootstrap.

# open_log FOLDER FILE  makes FOLDER, sets OUT to its full path and LOG to FILE in it, emptied;
# say writes a line to the terminal and to LOG.
open_log() {
  mkdir -p "$1"
  OUT=$(cd "$1" && pwd)
  LOG=$OUT/$2
  : > "$LOG"
}
say() { echo "$*" | tee -a "$LOG"; }

# The archive this machine's apt takes Debian from (not its security archive): the fresh root
# uses the same, so it needs no network beyond what the machine already reaches.
debian_mirror() {
  local uri=""
  shopt -s nullglob
  local lists=(/etc/apt/sources.list /etc/apt/sources.list.d/*.list) stanzas=(/etc/apt/sources.list.d/*.sources)
  shopt -u nullglob
  if [ ${#stanzas[@]} -gt 0 ]; then
    uri=$(awk 'BEGIN { RS = ""; FS = "\n" }
      { u = ""; t = 0
        for (i = 1; i <= NF; i++) {
          if ($i ~ /^URIs:/) { split($i, a, /[ \t]+/); u = a[2] }
          if ($i ~ /^Types:.*(^|[ \t])deb([ \t]|$)/) t = 1
        }
        if (t && u != "" && u !~ /security/) { print u; exit } }' "${stanzas[@]}")
  fi
  if [ -z "$uri" ] && [ ${#lists[@]} -gt 0 ]; then
    uri=$(awk '$1 == "deb" && $0 !~ /security/ {
        for (i = 2; i <= NF; i++) if ($i ~ /^[a-z]+:\/\//) { print $i; exit } }' "${lists[@]}" 2>/dev/null | head -n1)
  fi
  [ -n "$uri" ] || { echo "no Debian archive in this machine's apt sources" >&2; return 1; }
  echo "$uri"
}

# make_root RELEASE PACKAGES  makes a minimal root of RELEASE (bookworm, trixie) with PACKAGES
# (comma-separated, may be empty) in a new folder under /var/tmp, and prints the folder.
make_root() {
  local release=$1 include=${2:-} mirror root
  mirror=$(debian_mirror)
  root=$(mktemp -d /var/tmp/vardelo-root."$release".XXXXXX)
  # mktemp makes it 0700, which would keep every user but root out of the whole root.
  chmod 755 "$root"
  local log="$root.debootstrap.log"
  if ! debootstrap --variant=minbase ${include:+--include="$include"} "$release" "$root" "$mirror" > "$log" 2>&1; then
    tail -n 30 "$log" >&2
    rm -rf "$root" "$log"
    return 1
  fi
  rm -f "$log"
  # The release's updates too, as a user's machine has them.
  printf 'deb %s %s main\ndeb %s %s-updates main\n' "$mirror" "$release" "$mirror" "$release" > "$root/etc/apt/sources.list"
  # Services are never started inside the root.
  printf '#!/bin/sh\nexit 101\n' > "$root/usr/sbin/policy-rc.d"
  chmod +x "$root/usr/sbin/policy-rc.d"
  cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
  echo "$root"
}

# enter_root ROOT [x]  mounts what programs inside need: /proc, /sys, /dev and, with x, this
# machine's X server sockets (for a program inside to show its window on a server outside).
enter_root() {
  local root=$1
  mount -t proc proc "$root/proc"
  mount -t sysfs sysfs "$root/sys"
  mount --rbind /dev "$root/dev"
  mount --make-rslave "$root/dev"
  if [ "${2:-}" = x ]; then
    mkdir -p /tmp/.X11-unix "$root/tmp/.X11-unix"
    mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
  fi
}

# start_xvfb  starts an X server on a free display; sets XVFB_PID and XVFB_DISPLAY.
start_xvfb() {
  local fifo
  fifo=$(mktemp -u /tmp/vardelo-display.XXXXXX)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$fifo" > /dev/null 2>&1 &
  XVFB_PID=$!
  read -r XVFB_DISPLAY < "$fifo"
  rm -f "$fifo"
  XVFB_DISPLAY=:$XVFB_DISPLAY
}

# window_of PID DISPLAY [TENTHS]  waits for the mapped window of a process and prints its id.
window_of() {
  local pid=$1 display=$2 w=""
  for _ in $(seq "${3:-300}"); do
    w=$(DISPLAY=$display xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n1 || true)
    [ -n "$w" ] && { echo "$w"; return 0; }
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# remove_root ROOT  unmounts whatever is mounted under ROOT and removes it.
remove_root() {
  local root=$1
  [ -n "$root" ] && [ -d "$root" ] || return 0
  local m
  for m in $(awk -v r="$root" '$2 == r || index($2, r "/") == 1 { print $2 }' /proc/mounts | sort -r); do
    umount -l "$m" 2>/dev/null || true
  done
  rm -rf --one-file-system "$root"
}

# in_root ROOT COMMAND...  runs a command inside, with a plain environment.
in_root() {
  local root=$1
  shift
  chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
    DEBIAN_FRONTEND=noninteractive "$@"
}
