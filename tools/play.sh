#!/usr/bin/env bash
# Sets up a fresh Debian machine with what the show alone needs (installs
# only what is missing), builds the show (the "play" preset, build/play) and
# runs it in a window. "tools/play.sh fullscreen" runs the fullscreen program
# instead.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh show

export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}
cmake --preset play >/dev/null
cmake --build --preset play

program=quombrax-window
if [ "${1:-}" = fullscreen ]; then
  program=quombrax
fi
exec build/play/show/$program
