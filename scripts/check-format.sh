#!/usr/bin/env bash
# Fails when a C++ file of the tree does not follow .clang-format; names each
# such file and shows the change clang-format would make.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
formatter=${CLANG_FORMAT:-clang-format}
status=0
while IFS= read -r -d '' file; do
  if ! "$formatter" --dry-run -Werror "$file" >/dev/null 2>&1; then
    echo "not formatted: $file" >&2
    "$formatter" "$file" | diff -u "$file" - | head -n 20 >&2 || true
    status=1
  fi
done < <(git ls-files -z -- '*.cpp' '*.h')
[ "$status" -eq 0 ] && echo "every C++ file follows .clang-format"
exit "$status"
