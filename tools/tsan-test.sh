#!/usr/bin/env bash
# Races the music feed against SDL's audio thread under ThreadSanitizer: the
# real SDL back end on SDL's dummy audio driver, the main thread feeding every
# 2 ms for a few seconds. Builds only that test, in build/tsan (the "tsan"
# preset), and fails on the first race reported (the CTest test labelled
# "tsan").
set -euo pipefail
cd "$(dirname "$0")/.."
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-2}
exec cmake --workflow --preset tsan
