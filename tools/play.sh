#!/usr/bin/env bash
# Sets up a fresh Debian machine (installs only what is missing), builds the
# show and runs it in a window. "tools/play.sh fullscreen" runs the
# fullscreen program instead.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh

build=build/play
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUOMBRAX_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target quombrax quombrax-window

program=quombrax-window
if [ "${1:-}" = fullscreen ]; then
  program=quombrax
fi
exec "$build/show/$program"
