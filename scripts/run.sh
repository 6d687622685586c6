#!/usr/bin/env bash
# Starts the designer on the shipped data. The first time it installs the
# packages the program needs, configures build/ and builds the program with
# its data; later starts build only what changed. Tests and benchmarks are
# built by scripts/test.sh.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build
exe=$build/designer/windows/tlxlabel
say() { echo "run.sh: $*"; }

bash "$top/scripts/install-deps.sh" --program --if-missing
# Configured once; a build folder the tests configured serves as well.
if [ ! -f "$build/build.ninja" ]; then
  say "configuring $build for the program alone (tests and benchmarks: scripts/test.sh)..."
  cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLX_TESTS=OFF -DLX_BENCH=OFF --log-level=NOTICE
fi
cores=$(nproc)
if [ ! -x "$exe" ]; then
  # About six minutes of one core's work.
  say "building the designer, its control and its data on $cores cores (about $(((6 + cores - 1) / cores)) min the first time)..."
fi
cmake --build "$build" --parallel "$cores" --target tlxlabel lx_shipped_data lx_icons
if [ ! -x "$exe" ]; then
  echo "The build did not produce $exe." >&2
  exit 1
fi
say "starting the designer."
exec "$exe" "$@"
