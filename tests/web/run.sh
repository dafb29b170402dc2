#!/usr/bin/env bash
# Runs the browser test of the web page in the system's Chromium. The page
# comes from tools/web.sh; the capture back end's frames from a native build.
#   tests/web/run.sh NATIVE_BUILD_DIR [WEB_BUILD_DIR]   (default build/web)
# Screenshots and the frames compared go to WEB_BUILD_DIR. The page's frame
# pacing and drawing times are printed, and the native drawing times beside them.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
native=${1:?usage: tests/web/run.sh NATIVE_BUILD_DIR [WEB_BUILD_DIR]}
web=${2:-build/web}

cmake --build "$native" --target capture_frame frame_costs >/dev/null
# puppeteer-core at the versions the lock file pins, installed once.
if [ ! -f "$here/node_modules/.package-lock.json" ] ||
   [ "$here/package-lock.json" -nt "$here/node_modules/.package-lock.json" ]; then
  (cd "$here" && npm ci --no-audit --no-fund --loglevel=error)
fi
node "$here/browser_test.mjs" --site "$web/site" \
  --capture-frame "$native/tests/web/capture_frame" --out "$web"
"$native/tests/web/frame_costs"
