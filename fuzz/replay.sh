#!/usr/bin/env bash
# Runs every committed corpus input once through the libFuzzer targets. A
# crash, a leak, a sanitizer report, a broken property or an allocation above
# 64 MB (no small input may make a reader allocate more) fails it.
#   fuzz/replay.sh                   builds the fuzz preset (build/fuzz) and
#                                    replays every corpus (the CTest tests
#                                    labelled "fuzz")
#   fuzz/replay.sh TARGET CORPUS     replays one corpus folder through one
#                                    target binary (what each test runs)
# To fuzz one target for ten minutes instead:
#   build/fuzz/fuzz/fuzz_img_parse -max_total_time=600 -malloc_limit_mb=64 \
#       /tmp/img_parse_corpus fuzz/corpus/img_parse
set -euo pipefail

if [ $# -eq 0 ]; then
  cd "$(dirname "$0")/.."
  exec cmake --workflow --preset fuzz
fi

target=$1
corpus=$2
name=$(basename "$corpus")
mapfile -d '' inputs < <(find "$corpus" -type f -print0 | sort -z)
if [ "${#inputs[@]}" -eq 0 ]; then
  echo "replay: no inputs in $corpus" >&2
  exit 1
fi
echo "== $name: ${#inputs[@]} inputs"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
"$target" -malloc_limit_mb=64 "${inputs[@]}" >"$log" 2>&1 || {
  cat "$log" >&2
  echo "replay: $name failed" >&2
  exit 1
}
echo "replay: every $name input ran clean"
