#!/usr/bin/env bash
# Builds the show as a web page into build/web/site (index.html, its script
# and style, quombrax.js, quombrax.wasm): a folder that any static web host
# serves as it is.
#   tools/web.sh          build
#   tools/web.sh serve    build, then serve the page on http://127.0.0.1:8000/
#                         (PORT=... for another port)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${WEB_BUILD_DIR:-build/web}
# Emscripten's optimiser runs on node and needs Debian's acorn, which a node
# other than Debian's does not look for by itself.
export NODE_PATH=${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs

emcmake cmake -S web -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)"
# The page links to its own source, so the folder is complete wherever it goes.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git archive --format=tar.gz --prefix=quombrax/ -o "$build/site/quombrax-source.tar.gz" HEAD
fi
echo "The page is in $build/site"

if [ "${1:-}" = serve ]; then
  port=${PORT:-8000}
  echo "Serving it on http://127.0.0.1:$port/ (Ctrl+C stops)"
  exec python3 -m http.server "$port" --bind 127.0.0.1 --directory "$build/site"
fi
