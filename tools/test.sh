#!/usr/bin/env bash
# Sets up a fresh Debian machine, then builds and runs every test, one
# workflow preset (CMakePresets.json) at a time, each in build/<preset>:
#   release   the whole suite as shipped (g++, warnings as errors), the layer
#             check and the compiled-in assets regenerated and compared;
#   sanitize  the whole suite again under AddressSanitizer +
#             UndefinedBehaviorSanitizer (clang++);
#   tsan      the music feed raced against SDL's audio thread, and half a
#             minute of the whole show on SDL, under ThreadSanitizer;
#   fuzz      every fuzz corpus replayed once through its libFuzzer target;
# then the web page, built with Emscripten and driven in headless Chromium.
# One of them alone: cmake --workflow --preset <name>.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh

export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}
export CTEST_PARALLEL_LEVEL=${CTEST_PARALLEL_LEVEL:-$(nproc)}
for preset in release sanitize tsan fuzz; do
  echo "== $preset"
  cmake --workflow --preset "$preset"
done

echo "== web page"
tools/web.sh
tests/web/run.sh build/release
