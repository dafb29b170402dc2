#!/usr/bin/env bash
# Regenerates every compiled-in asset into a temporary folder and fails if
# any differs from the committed copy under show/assets/data.
#   tools/assetgen/check.sh [build-dir]
#   tools/assetgen/check.sh --generator path/to/assetgen
# With a build directory of this project, the generator is built there; with
# no argument, in a temporary one. Builds with the tools run the second form
# as the CTest test "assetgen_check".
set -euo pipefail
cd "$(dirname "$0")/../.."

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ "${1:-}" = --generator ]; then
  generator=$2
else
  build=${1:-$work/build}
  if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUOMBRAX_BUILD_TESTS=OFF \
      -DQUOMBRAX_BENCH=OFF >/dev/null
  fi
  cmake --build "$build" --target assetgen -j 2 >/dev/null
  generator=$build/tools/assetgen/assetgen
fi

generated=$work/data
mkdir -p "$generated"
"$generator" "$generated" 2>"$work/log" || { cat "$work/log"; exit 1; }

status=0
for committed in show/assets/data/*; do
  name=$(basename "$committed")
  if ! cmp -s "$committed" "$generated/$name"; then
    echo "assetgen check: $name differs from what the generator makes"
    status=1
  fi
done
for made in "$generated"/*; do
  name=$(basename "$made")
  if [ ! -e "show/assets/data/$name" ]; then
    echo "assetgen check: $name is made but not committed"
    status=1
  fi
done
[ $status -eq 0 ] && echo "assetgen check: all $(ls "$generated" | wc -l) assets match"
exit $status
