#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a while, with
# leak detection on: scripts/fuzz.sh [folder] [seconds per target]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build-fuzz}
seconds=${2:-20}
CC=clang CXX=clang++ "$top/scripts/build.sh" "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DLX_SANITIZE=ON -DLX_FUZZ=ON -DLX_TESTS=OFF -DLX_BENCH=OFF
shopt -s nullglob
export ASAN_OPTIONS=detect_leaks=1
export LSAN_OPTIONS="suppressions=$top/tests/fuzz/lsan.supp:print_suppressions=0"
for target in "$build"/tests/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="$build/corpus/$name"
  log="$build/corpus/$name.log"
  mkdir -p "$corpus"
  seeds=()
  [ -d "$top/tests/fuzz/seeds/$name" ] && seeds=("$top/tests/fuzz/seeds/$name")
  echo "== $name (${seconds}s)"
  if ! "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=0 \
      -artifact_prefix="$build/corpus/$name-" "$corpus" "${seeds[@]}" >"$log" 2>&1; then
    tail -n 60 "$log"
    exit 1
  fi
  # How many inputs ran, and what they reached.
  grep -E '^(Done|reached:)' "$log" || true
done
