#!/usr/bin/env bash
# Lists the C++ files whose layout differs from .clang-format and fails if
# there is any; changes nothing. Needs clang-format (Debian: clang-format).
#   tools/format-check.sh            every tracked .cpp and .h
#   tools/format-check.sh FILE...    only these
set -euo pipefail
cd "$(dirname "$0")/.."

format=$(command -v clang-format || command -v clang-format-14 || true)
if [ -z "$format" ]; then
  echo "format-check: clang-format is not installed" >&2
  exit 2
fi

if [ $# -eq 0 ]; then
  mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
  files=("$@")
fi

differing=0
for file in "${files[@]}"; do
  if ! "$format" --style=file --dry-run -Werror "$file" >/dev/null 2>&1; then
    echo "format-check: $file"
    differing=$((differing + 1))
  fi
done
if [ "$differing" -gt 0 ]; then
  echo "format-check: $differing of ${#files[@]} files differ from .clang-format" \
       "(clang-format -i FILE lays one out)"
  exit 1
fi
echo "format-check: all ${#files[@]} files match .clang-format"
