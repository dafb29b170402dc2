#!/usr/bin/env bash
# Races the music feed against SDL's audio thread under ThreadSanitizer: the
# real SDL back end on SDL's dummy audio driver, the main thread feeding every
# 2 ms for a few seconds; then the whole show for half a minute with keys.
# Builds only those tests, in build/tsan, and fails on the first race reported.
set -euo pipefail
cd "$(dirname "$0")/.."

if command -v clang++ >/dev/null; then
  compilers=(-DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang)
else
  compilers=(-DCMAKE_CXX_COMPILER=g++ -DCMAKE_C_COMPILER=gcc)
fi

dir=build/tsan
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUOMBRAX_TSAN=ON \
  -DQUOMBRAX_WERROR=ON -DQUOMBRAX_BENCH=OFF "${compilers[@]}" >/dev/null
cmake --build "$dir" -j 2 --target music_thread_tests show_sdl_threads_tests

export SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=dummy
export TSAN_OPTIONS="halt_on_error=1 exitcode=66 ${TSAN_OPTIONS:-}"
"$dir/tests/music/music_thread_tests"
# The whole show for half a minute with keys, on the same drivers.
"$dir/tests/show/show_sdl_threads_tests"
