#!/usr/bin/env bash
# Installs the Debian packages that building and testing QUOMBRAX needs,
# only those that are missing, so running it again costs nothing.
set -euo pipefail

packages=(
  cmake make g++ clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libsdl1.2-compat-dev
  libfreetype-dev fonts-dejavu-core
  libpng-dev
  xvfb xauth xdotool x11-apps x11-utils
  dpkg-dev desktop-file-utils man-db
)

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
