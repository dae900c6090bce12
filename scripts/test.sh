#!/usr/bin/env bash
# Builds Thornbeck and runs every test, then builds and runs them all again under
# AddressSanitizer and UndefinedBehaviorSanitizer, then the Windows build's under Wine and the
# fuzz targets briefly.
#   bash scripts/test.sh               everything (what CI runs)
#   bash scripts/test.sh --linux-only  everything but the Windows build and its tests, which
#                                      spare the first run's 17-minute Qt build for Windows
set -euo pipefail
cd "$(dirname "$0")/.."

windows=true
case "${1:-}" in
  "") ;;
  --linux-only) windows=false ;;
  *) echo "usage: scripts/test.sh [--linux-only]" >&2; exit 2 ;;
esac

bash scripts/install-deps.sh
# Qt for Windows first, alone on every core: the longest step, once per machine (cached).
if $windows; then bash scripts/build-qt-windows.sh; fi
export QT_QPA_PLATFORM=offscreen

# The options run.sh turns off are named, so a build folder it configured runs every test.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTHORNBECK_TESTS=ON \
  -DTHORNBECK_BENCH=ON
cmake --build build
ctest --test-dir build --output-on-failure -j 2

# The window, thornbeck-cli, their tests, the zip and the installer cross-built for Windows;
# the tests run under Wine.
if $windows; then bash scripts/windows-test.sh; fi

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTHORNBECK_SANITIZE=ON \
  -DTHORNBECK_BENCH=OFF
cmake --build build-asan
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir build-asan --output-on-failure -j 2

# The fuzz targets, briefly, from their seeds, about a minute in all (docs/fuzzing.md runs them
# for hours).
if command -v clang++ > /dev/null; then
  CXX=clang++ cmake -S fuzz -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build build-fuzz
  # A run's last line says how it went; a run that fails prints its whole report (the crash,
  # its stack and the reproducer's name).
  fuzz_report() {
    local log=$1
    shift
    if "$@" > "$log" 2>&1; then
      tail -n 1 "$log"
    else
      cat "$log"
      return 1
    fi
  }
  fuzz_run() {
    local target=$1
    shift
    rm -rf "build-fuzz/corpus-$target" && mkdir -p "build-fuzz/corpus-$target"
    echo "fuzz_$target $*"
    fuzz_report "build-fuzz/fuzz_$target.log" \
      "build-fuzz/fuzz_$target" "$@" "build-fuzz/corpus-$target" "${seeds[@]}"
  }
  seeds=(build-fuzz/seeds)
  fuzz_run load -runs=600 -max_len=66000
  fuzz_run modify -runs=600 -max_len=66000
  seeds=(fuzz/seeds/wildcard)
  fuzz_run wildcard -runs=100000
  seeds=(tools/sample)
  fuzz_run descriptions -runs=20000 -max_len=140000
  seeds=(fuzz/seeds/tweak)
  fuzz_run tweak -runs=50000 -max_len=4096
  # Every reproducer kept under fuzz/regressions/ still passes.
  for folder in fuzz/regressions/*/; do
    [ -d "$folder" ] || continue
    target=$(basename "$folder")
    fuzz_report "build-fuzz/regressions-$target.log" "build-fuzz/fuzz_$target" "$folder"*
  done
else
  echo "clang++ not found: the fuzz targets are not built"
fi
