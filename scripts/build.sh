#!/usr/bin/env bash
# Configures and builds into a build folder: scripts/build.sh [folder] [cmake options...]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
shift || true
cmake -S "$top" -B "$build" -G Ninja "$@"
cmake --build "$build" --parallel "$(nproc)"
