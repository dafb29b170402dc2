#!/usr/bin/env bash
# Renders the stills of docs/scenes/ again, as docs/scenes/stills.txt lists
# them, with the quombrax-render of a build folder (default build/release):
#   cmake --preset release
#   cmake --build build/release --target quombrax-render
#   tools/render/stills.sh build/release
# The stills are the show's golden frames: the stills test compares them
# with what the show draws, so commit them only for a change of picture
# that is meant.
set -euo pipefail
cd "$(dirname "$0")/../.."
render=${1:-build/release}/tools/render/quombrax-render
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
grep -v '^#' docs/scenes/stills.txt | while read -r name frame; do
  "$render" --quiet --scale 2 --frames "$frame" --from "$frame" --png "$scratch"
  mv "$scratch/$(printf 'frame-%06d.png' "$frame")" "docs/scenes/$name"
  echo "docs/scenes/$name: frame $frame"
done
