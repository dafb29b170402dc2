#!/usr/bin/env bash
# Installs the Debian packages QUOMBRAX needs, only those that are missing,
# so running it again costs nothing.
#   tools/setup.sh show   what building and running the show needs: a
#                         compiler, CMake and SDL
#   tools/setup.sh [all]  that, and what the tests, the sanitizer and fuzz
#                         builds, the asset generator, the benchmarks and the
#                         web page need
set -euo pipefail

show_packages=(
  cmake make g++
  libsdl1.2-compat-dev
)
test_packages=(
  clang libclang-rt-14-dev clang-format
  libgtest-dev libgmock-dev libbenchmark-dev
  libfreetype-dev fonts-dejavu-core
  libpng-dev
  xvfb xauth xdotool x11-apps x11-utils openbox
  dpkg-dev desktop-file-utils man-db
)

# The web page's build and browser test: Emscripten, the acorn its optimiser
# runs on, Chromium, and node with npm unless a node came with the machine.
web_packages=(emscripten node-acorn chromium)
command -v npm >/dev/null 2>&1 || web_packages+=(nodejs npm)

case ${1:-all} in
  show) packages=("${show_packages[@]}") ;;
  all) packages=("${show_packages[@]}" "${test_packages[@]}" "${web_packages[@]}") ;;
  *) echo "usage: tools/setup.sh [show|all]" >&2; exit 2 ;;
esac

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed$' \
    || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
