#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a while:
# scripts/fuzz.sh [folder] [seconds per target]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build-fuzz}
seconds=${2:-20}
CC=clang CXX=clang++ "$top/scripts/build.sh" "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DLX_SANITIZE=ON -DLX_FUZZ=ON -DLX_TESTS=OFF -DLX_BENCH=OFF
shopt -s nullglob
export ASAN_OPTIONS=detect_leaks=0
for target in "$build"/tests/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  seeds=()
  [ -d "$top/tests/fuzz/seeds/$name" ] && seeds=("$top/tests/fuzz/seeds/$name")
  echo "== $name (${seconds}s)"
  "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=0 "$corpus" "${seeds[@]}" 2>&1 | tail -n 3
done
