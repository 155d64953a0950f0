#!/usr/bin/env bash
# Checks of the Debian package, run by CTest (label `package`):
#   check-package.sh build CPACK CONFIG WORK   builds the package into WORK and unpacks it into WORK/root
#   check-package.sh files WORK APPSTREAM_ID FACE=PACKAGE...
#                                               what it installs, its desktop entry and AppStream
#                                               metadata, and that it depends on what it uses
#   check-package.sh lintian WORK               lintian finds no error
#   check-package.sh runs WORK                  the unpacked program opens its tables from the unpacked data folder
set -euo pipefail

what=$1
shift

deb_in() { ls "$1"/out/vardelo_*.deb; }

case "$what" in
  build)
    cpack=$1 config=$2 work=$3
    rm -rf "$work"
    mkdir -p "$work"
    "$cpack" --config "$config" -B "$work/out" > "$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
    deb=$(deb_in "$work")
    dpkg-deb --info "$deb"
    dpkg-deb -x "$deb" "$work/root"
    ;;

  files)
    work=$1 id=$2
    root=$work/root
    status=0
    expect() {
      if [ ! -e "$root/$1" ]; then
        echo "missing: /$1"
        status=1
      fi
    }
    expect usr/bin/vardelo
    for t in wb jm zk czwb czzk cf; do expect "usr/share/vardelo/$t.db"; done
    expect usr/share/vardelo/COPYING.wubi86
    expect usr/share/applications/vardelo.desktop
    for px in 32 64 128 256; do expect "usr/share/icons/hicolor/${px}x${px}/apps/vardelo.png"; done
    expect usr/share/icons/hicolor/scalable/apps/vardelo.svg
    expect "usr/share/metainfo/$id.metainfo.xml"
    expect usr/share/man/man1/vardelo.1.gz
    expect usr/share/doc/vardelo/copyright
    expect usr/share/doc/vardelo/changelog.Debian.gz
    [ -x "$root/usr/bin/vardelo" ] || { echo "usr/bin/vardelo is not executable"; status=1; }

    # Each icon is as large as the folder it lies in says.
    for px in 32 64 128 256; do
      size=$(file -b "$root/usr/share/icons/hicolor/${px}x${px}/apps/vardelo.png" | grep -o '[0-9]* x [0-9]*' || true)
      [ "$size" = "$px x $px" ] || { echo "icon ${px}x${px} is $size"; status=1; }
    done

    desktop-file-validate "$root/usr/share/applications/vardelo.desktop" || status=1
    appstreamcli validate --no-net --explain "$root/usr/share/metainfo/$id.metainfo.xml" || status=1

    # Every library the program links is held by a package it depends on, by the name this
    # release gives that package (libqt6core6 on Debian 12, libqt6core6t64 on 13).
    depends=$(dpkg-deb -f "$(deb_in "$work")" Depends)
    echo "Depends: $depends"
    depends_on() { tr ',|' '\n\n' <<< "$depends" | awk '{ print $1 }' | grep -qxF -- "$1"; }
    owner_of() { # the package that holds a file, or nothing
      local file=$1 pkg
      for f in "$file" "$(readlink -f "$file")"; do
        pkg=$(dpkg -S "$f" 2>/dev/null | head -n1 | cut -d: -f1) && [ -n "$pkg" ] && { echo "$pkg"; return; }
      done
    }
    for lib in $(readelf -d "$root/usr/bin/vardelo" | sed -n 's/.*Shared library: \[\(.*\)\]/\1/p'); do
      # awk reads to the end: leaving early would end ldconfig with SIGPIPE, and pipefail the check.
      path=$(ldconfig -p | awk -v l="$lib" '$1 == l && /x86-64/ && !p { p = $NF } END { print p }')
      pkg=$(owner_of "$path")
      if [ -z "$pkg" ]; then
        echo "no package holds $lib ($path)"
        status=1
      elif ! depends_on "$pkg"; then
        echo "Depends lacks $pkg, which holds $lib"
        status=1
      fi
    done
    # Every face the program draws with: its package is a dependency, and on this machine the
    # face is that package's (or a package it depends on, as DejaVu Sans Mono on Debian 13).
    for pair in "${@:3}"; do
      face=${pair%=*} pkg=${pair#*=}
      depends_on "$pkg" || { echo "Depends lacks $pkg, which holds the face $face"; status=1; }
      found=$(fc-match -f '%{family}|%{file}' "$face")
      if [[ ",${found%%|*}," != *",$face,"* ]]; then
        echo "the face $face is not installed here (fc-match gives ${found%%|*})"
        status=1
        continue
      fi
      owner=$(owner_of "${found#*|}")
      if [ "$owner" != "$pkg" ] && ! dpkg-query -W -f='${Depends}' "$pkg" | grep -qw -- "$owner"; then
        echo "the face $face is in $owner, not in $pkg"
        status=1
      fi
    done
    # Nothing the program no longer draws with, nor the large CJK face its own root glyphs are cut
    # from (the program carries them).
    for old in fonts-arphic-uming fonts-arphic-ukai fonts-noto-cjk; do
      depends_on "$old" && { echo "Depends names $old, which the program does not use"; status=1; }
    done
    # The licence of the glyphs the program carries is in its notice.
    grep -q '^License: OFL-1.1$' "$root/usr/share/doc/vardelo/copyright" \
      || { echo "the copyright file lacks the licence of the carried root glyphs"; status=1; }
    exit $status
    ;;

  lintian)
    work=$1
    # Errors fail; warnings and the rest are shown.
    lintian --fail-on error --display-level '>=warning' --allow-root "$(deb_in "$work")"
    ;;

  runs)
    work=$1
    root=$(cd "$work/root" && pwd)
    data=$root/usr/share/vardelo
    elsewhere=$(mktemp -d)
    trap 'rm -rf "$elsewhere"' EXIT
    cd "$elsewhere"
    QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 "$root/usr/bin/vardelo" > "$work/run.log" 2>&1 &
    pid=$!
    opened=""
    for _ in $(seq 100); do
      if ! kill -0 "$pid" 2>/dev/null; then
        echo "the program ended early:"
        cat "$work/run.log"
        exit 1
      fi
      # The lexicon tables stay open for the program's lifetime.
      opened=$(for fd in /proc/"$pid"/fd/*; do readlink "$fd" 2>/dev/null || true; done | grep '\.db$' | sort || true)
      missing=""
      # The four table members are opened at start; the other tables when a drill needs them.
      for t in wb zk czwb czzk; do
        echo "$opened" | grep -qx "$data/$t.db" || missing="$missing $t.db"
      done
      [ -z "$missing" ] && break
      sleep 0.1
    done
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo "tables the program opened:"
    echo "$opened"
    if [ -n "$missing" ]; then
      echo "not opened from $data:$missing"
      cat "$work/run.log"
      exit 1
    fi
    ;;

  *)
    echo "usage: $0 build|files|lintian|runs ..." >&2
    exit 2
    ;;
esac
