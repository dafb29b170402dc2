#!/usr/bin/env bash
# Fails when a source file includes a header from a layer above its own, so
# the layers keep pointing one way: down.
#   tools/check-layers.sh [tree]     (default: this repository)
#
# The table below is the one place that states the layers, bottom up. A file
# may include headers of its own layer and of the layers below it. A file
# belongs to the most specific folder of the table that holds it (show/assets
# is the data at the bottom, show the scenes near the top). A C or C++ file in
# a folder the table does not name fails too: a new folder takes its place in
# the table first.
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

layers=(
  "containers"               # plain records: sample, array, vec2d
  "show/assets"              # the show's compiled-in data: tables, pictures, sounds, texts
  "imaging"                  # images, byte maps, palettes, fonts
  "music"                    # the tracker
  "effects"                  # roll, stars, scroll, wave
  "platform"                 # screen, keys, sound, clock
  "show"                     # start-up, the scenes, shutdown, the programs
  "tools tests bench fuzz"   # everything that drives or measures the show
)

declare -A rank
for i in "${!layers[@]}"; do
  for folder in ${layers[$i]}; do rank[$folder]=$i; done
done

# The table folder that holds `path`, the longest one that matches.
folder_of() {
  local path=$1 best="" folder
  for folder in "${!rank[@]}"; do
    if [[ $path == "$folder"/* && ${#folder} -gt ${#best} ]]; then best=$folder; fi
  done
  echo "$best"
}

failures=0
checked=0
while IFS= read -r -d '' file; do
  file=${file#./}
  own=$(folder_of "$file")
  if [ -z "$own" ]; then
    echo "layers: $file lies in a folder the layer table does not name"
    failures=$((failures + 1))
    continue
  fi
  checked=$((checked + 1))
  # Quoted includes that name a file of this tree from its root.
  while IFS= read -r header; do
    [ -f "$header" ] || continue
    target=$(folder_of "$header")
    [ -n "$target" ] || continue
    if [ "${rank[$target]}" -gt "${rank[$own]}" ]; then
      echo "layers: $file ($own) includes $header ($target), a layer above it"
      failures=$((failures + 1))
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find . \( -path ./build -o -path './.*' \) -prune -o \
              -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' \) -print0)

if [ "$failures" -gt 0 ]; then
  echo "layers: $failures include(s) point up or lie outside the table"
  exit 1
fi
echo "layers: $checked files include only their own layer or below"
