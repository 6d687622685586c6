#!/usr/bin/env bash
# Installs what is missing, builds the designer and starts it on the shipped data.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/scripts/install-deps.sh" --if-missing
"$top/scripts/build.sh" "$top/build" -DCMAKE_BUILD_TYPE=Release
exe="$top/build/designer/windows/tlxlabel"
if [ ! -x "$exe" ]; then
  echo "The build did not produce $exe." >&2
  exit 1
fi
exec "$exe" "$@"
