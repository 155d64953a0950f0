#!/usr/bin/env bash
# ./build.sh run   installs what is missing, builds, and starts the trainer
# ./build.sh test  installs what is missing, builds, and runs every test
# ./build.sh bench builds the benchmarks and runs each, printing its figures
# ./build.sh asan  the same tests, and the long fuzz runs, in an AddressSanitizer +
#                  UndefinedBehaviorSanitizer build
# ./build.sh install-test [RELEASE...]
#                  builds the Debian package and installs it with apt into a fresh root of each
#                  release (default: bookworm trixie), where it must run and draw every text
#                  (packaging/install/install-test.sh; one to two minutes a release)
set -euo pipefail
cd "$(dirname "$0")"

what=${1:-run}
scripts/setup-debian.sh

jobs=$(nproc 2>/dev/null || echo 2)
case "$what" in
  run)
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build build --target vardelo -j "$jobs"
    exec build/vardelo
    ;;
  test)
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build build -j "$jobs"
    # The long fuzz runs belong to the sanitizer build.
    ctest --test-dir build --output-on-failure -j "$jobs" -LE long-fuzz
    ;;
  bench)
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build build --target bench -j "$jobs"
    # Each benchmark alone, so that none measures another's load; the helpers they start
    # (startup_window, idle_floor …) are not named bench_*.
    for b in build/bench/*/bench_*; do
      [ -x "$b" ] || continue
      echo "== ${b#build/bench/}"
      QT_QPA_PLATFORM=offscreen "$b"
    done
    ;;
  asan)
    cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVARDELO_SANITIZE=ON -DVARDELO_BENCHMARKS=OFF
    cmake --build build-asan -j "$jobs"
    ctest --test-dir build-asan --output-on-failure -j "$jobs"
    ;;
  install-test)
    shift
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build build --target package vardelo_glyph_check -j "$jobs"
    deb=$(ls build/vardelo_*.deb)
    status=0
    releases=("$@")
    [ ${#releases[@]} -gt 0 ] || releases=(bookworm trixie)
    for release in "${releases[@]}"; do
      packaging/install/install-test.sh "$release" "$deb" build/packaging/vardelo_glyph_check \
        "build/install-test/$release" || status=1
    done
    exit $status
    ;;
  *)
    echo "usage: $0 [run|test|bench|asan|install-test [RELEASE...]]" >&2
    exit 2
    ;;
esac
