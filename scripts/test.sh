#!/usr/bin/env bash
# Builds and runs every test: scripts/test.sh [folder] [cmake options...]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
shift || true
# Set before the build: test discovery runs the test binaries.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$top/tests/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# Everything is built, also in a folder scripts/run.sh configured for the program alone.
"$top/scripts/build.sh" "$build" -DLX_TESTS=ON -DLX_BENCH=ON "$@"
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" --timeout 900
