#!/usr/bin/env bash
# Sets up a fresh Debian machine, then builds and runs every test twice:
# once as shipped (g++, warnings as errors) and once under AddressSanitizer
# and UndefinedBehaviorSanitizer (clang++). Build trees go to build/.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh

jobs=$(nproc)

run_suite() {
  local dir=$1; shift
  echo "== $dir"
  cmake -S . -B "$dir" -DQUOMBRAX_WERROR=ON -DQUOMBRAX_BENCH=OFF "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" -j "$jobs" --output-on-failure
}

run_suite build/release -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=g++
run_suite build/sanitize -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_C_COMPILER=clang -DQUOMBRAX_SANITIZE=ON
