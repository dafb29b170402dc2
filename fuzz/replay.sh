#!/usr/bin/env bash
# Builds the libFuzzer targets in build/fuzz (clang++, QUOMBRAX_FUZZ=ON) and
# runs every committed corpus input once through its target. A crash, a leak,
# a sanitizer report, a broken property or an allocation above 64 MB (no small
# input may make a reader allocate more) fails the script. To fuzz one target
# for ten minutes instead:
#   build/fuzz/fuzz/fuzz_img_parse -max_total_time=600 -malloc_limit_mb=64 \
#       /tmp/img_parse_corpus fuzz/corpus/img_parse
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/fuzz
targets=(img_parse bytemap_parse img_from_text bytemap_from_text
         sample_from_text sample_parse_list sample_read)

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
  -DQUOMBRAX_FUZZ=ON -DQUOMBRAX_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target "${targets[@]/#/fuzz_}"

for name in "${targets[@]}"; do
  corpus=$root/fuzz/corpus/$name
  mapfile -d '' inputs < <(find "$corpus" -type f -print0 | sort -z)
  if [ "${#inputs[@]}" -eq 0 ]; then
    echo "replay: no inputs in $corpus" >&2
    exit 1
  fi
  echo "== $name: ${#inputs[@]} inputs"
  "$build/fuzz/fuzz_$name" -malloc_limit_mb=64 "${inputs[@]}" >"$build/replay_$name.log" 2>&1 || {
    cat "$build/replay_$name.log" >&2
    echo "replay: $name failed" >&2
    exit 1
  }
done
echo "replay: every corpus input ran clean"
