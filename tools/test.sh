#!/usr/bin/env bash
# Sets up a fresh Debian machine, then builds and runs every test:
#   1. the whole suite as shipped (g++, warnings as errors);
#   2. the whole suite again under AddressSanitizer + UndefinedBehaviorSanitizer (clang++);
#   3. the music feed raced against SDL's audio thread under ThreadSanitizer;
#   4. every fuzz corpus replayed once through its libFuzzer target;
#   5. the compiled-in assets regenerated and compared with the committed ones;
#   6. the web page built with Emscripten and driven in headless Chromium.
# Build trees go to build/.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh

jobs=$(nproc)

run_suite() {
  local dir=$1; shift
  echo "== suite: $dir"
  cmake -S . -B "$dir" -DQUOMBRAX_WERROR=ON -DQUOMBRAX_BENCH=OFF "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" -j "$jobs" --output-on-failure
}

run_suite build/release -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_COMPILER=g++ -DCMAKE_C_COMPILER=gcc
run_suite build/sanitize -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang -DQUOMBRAX_SANITIZE=ON

echo "== thread sanitizer"
tools/tsan-test.sh
echo "== fuzz corpus replay"
fuzz/replay.sh
echo "== compiled-in assets"
tools/assetgen/check.sh build/release
echo "== web page"
tools/web.sh
tests/web/run.sh build/release
