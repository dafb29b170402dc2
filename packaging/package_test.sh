#!/usr/bin/env bash
# Installs a built tree into a temporary prefix and makes its Debian package,
# then checks both as a user and a packager would: exactly the expected files,
# a valid menu entry, manual pages that format without warnings and show the
# version, the package's fields and computed dependencies, and programs that
# run from the unpacked package.
#   package_test.sh BUILD_DIR VERSION
# Exits 77 (skipped) when a tool it needs is missing; tools/setup.sh
# installs them all.
set -euo pipefail
build=$(readlink -f "$1")
version=$2
source_dir=$(readlink -f "$(dirname "$0")/..")

for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate man xvfb-run xdotool xwd readelf; do
  if ! command -v "$tool" >/dev/null; then
    echo "package test: skipped, $tool is not installed (tools/setup.sh installs it)"
    exit 77
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "package test: $*"
  failures=$((failures + 1))
}

# Everything an install puts down, relative to the prefix; nothing else may
# appear (no tests, libraries, generator or headers).
expected_files="bin/quombrax
bin/quombrax-render
bin/quombrax-window
share/applications/quombrax.desktop
share/doc/quombrax/copyright
share/icons/hicolor/64x64/apps/quombrax.png
share/man/man1/quombrax-render.1.gz
share/man/man6/quombrax-window.6.gz
share/man/man6/quombrax.6.gz"
programs="quombrax quombrax-render quombrax-window"

# Files and links under a folder, relative to it, sorted.
tree_of() { (cd "$1" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort); }

check_tree() {
  local root=$1 what=$2
  local actual
  actual=$(tree_of "$root")
  if [ "$actual" != "$expected_files" ]; then
    fail "$what holds other files than expected:"
    diff <(echo "$expected_files") <(echo "$actual") | sed -n 's/^[<>]/  &/p' || true
  fi
  for program in $programs; do
    [ -x "$root/bin/$program" ] || fail "$what: bin/$program is not executable"
    # A run path into the build tree would load the build's libraries.
    if readelf -d "$root/bin/$program" 2>/dev/null | grep -qE 'R(UN)?PATH'; then
      fail "$what: bin/$program keeps a run path"
    fi
  done
  # The icon theme's folder name promises a 64 x 64 PNG.
  local icon=$root/share/icons/hicolor/64x64/apps/quombrax.png header
  header=$(od -An -tx1 -N24 "$icon" 2>/dev/null | tr -d ' \n')
  [ "$header" = 89504e470d0a1a0a0000000d494844520000004000000040 ] ||
    fail "$what: the icon is not a 64 x 64 PNG"
  cmp -s "$icon" \
    "$source_dir/show/assets/data/menu_icon.png" ||
    fail "$what: the icon is not the generator's menu_icon.png"
  grep -q 'License: bitstream-vera' "$root/share/doc/quombrax/copyright" ||
    fail "$what: the copyright file lacks the fonts' licence"
}

check_menu_entry() {
  local root=$1 entry=$1/share/applications/quombrax.desktop
  desktop-file-validate "$entry" || fail "desktop-file-validate rejects the menu entry"
  local exec icon
  exec=$(sed -n 's/^Exec=//p' "$entry")
  icon=$(sed -n 's/^Icon=//p' "$entry")
  [ "$exec" = quombrax-window ] || fail "the menu entry runs '$exec', not quombrax-window"
  [ -f "$root/share/icons/hicolor/64x64/apps/$icon.png" ] ||
    fail "the menu entry's icon '$icon' is not installed"
}

check_manual_pages() {
  local root=$1 page warnings
  [ "$(readlink "$root/share/man/man6/quombrax-window.6.gz")" = quombrax.6.gz ] ||
    fail "quombrax-window's manual page is not a link to quombrax's"
  for page in "$root"/share/man/man1/quombrax-render.1.gz "$root"/share/man/man6/quombrax.6.gz; do
    warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) || fail "man cannot format $page"
    [ -z "$warnings" ] || fail "$(basename "$page") formats with warnings: $warnings"
    MANWIDTH=80 man -l "$page" 2>/dev/null | grep -q "$version" ||
      fail "$(basename "$page") does not show the version $version"
  done
}

echo "== install into a temporary prefix"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || {
  cat "$work/install.log"
  exit 1
}
check_tree "$prefix" "the installed tree"
check_menu_entry "$prefix"
check_manual_pages "$prefix"

echo "== Debian package"
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >"$work/cpack.log" 2>&1) || {
  cat "$work/cpack.log"
  exit 1
}
arch=$(dpkg --print-architecture)
deb=$work/deb/quombrax_${version}_${arch}.deb
if [ ! -f "$deb" ]; then
  fail "cpack made no $(basename "$deb"):"
  ls "$work/deb"
  exit 1
fi
info=$(dpkg-deb --info "$deb")
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = quombrax ] || fail "the package is called '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "the package's version is '$(field Version)'"
[ "$(field Architecture)" = "$arch" ] || fail "the package's architecture is '$(field Architecture)'"
[ "$(field Section)" = games ] || fail "the package's section is '$(field Section)'"
echo "$info" | grep -q '^ Description: real-time audio-visual show' ||
  fail "the package's description is missing"

# Dependencies are computed from the binaries: exactly the packages of the
# libraries the programs load (the SDL 1.2 runtime, libpng for the renderer,
# the C and C++ runtimes as linked), nothing the build or the tests need.
package_of_library() {
  case $1 in
    libSDL-1.2.so.0) echo sdl ;;
    libc.so.6 | libm.so.6) echo libc6 ;;
    libstdc++.so.6) echo libstdc++6 ;;
    libgcc_s.so.1) echo libgcc-s1 ;;
    libpng16.so.16) echo libpng16-16 ;;
    libz.so.1) echo zlib1g ;;
    *) echo "unknown:$1" ;;
  esac
}
package_of_dependency() {
  case $1 in
    libsdl1.2debian | libsdl1.2-compat | libsdl1.2-compat-shim) echo sdl ;;
    *) echo "$1" ;;
  esac
}
depends=$(field Depends)
echo "Depends: $depends"
loaded=$(for program in $programs; do
  readelf -d "$prefix/bin/$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'
done | sort -u)
for program in quombrax quombrax-window; do
  readelf -d "$prefix/bin/$program" | grep -q 'NEEDED.*\[libSDL-1\.2\.so\.0\]' ||
    fail "$program does not load the SDL 1.2 library"
done
wanted=$(for library in $loaded; do package_of_library "$library"; done | sort -u)
# Alternatives (a | b) name one library's packages; each group counts once.
given=$(echo "$depends" | tr ',' '\n' | while read -r group; do
  package_of_dependency "$(echo "$group" | sed 's/[ (|].*//')"
done | sort -u)
if [ "$wanted" != "$given" ]; then
  fail "the package's dependencies do not match the libraries its programs load:"
  diff <(echo "$wanted") <(echo "$given") | sed -n 's/^[<>]/  &/p' || true
fi

contents=$(dpkg-deb --contents "$deb")
echo "$contents" | awk '{print $2}' | grep -v '^root/root$' | grep -q . &&
  fail "the package holds files not owned by root"
listed=$(echo "$contents" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./usr/||' | LC_ALL=C sort)
[ "$listed" = "$expected_files" ] || {
  fail "the package lists other files than expected:"
  diff <(echo "$expected_files") <(echo "$listed") | sed -n 's/^[<>]/  &/p' || true
}

echo "== run from the unpacked package"
unpacked=$work/unpacked
dpkg-deb -x "$deb" "$unpacked"
check_tree "$unpacked/usr" "the unpacked package"
frames=$work/frames
mkdir "$frames"
if "$unpacked/usr/bin/quombrax-render" --frames 5 --png "$frames" --quiet 2>"$work/render.log"; then
  count=$(find "$frames" -name '*.png' | wc -l)
  [ "$count" -eq 5 ] || fail "the unpacked quombrax-render wrote $count pictures for 5 frames"
else
  fail "the unpacked quombrax-render failed: $(cat "$work/render.log")"
fi

# The menu's command, found on the PATH as a desktop would run it, must open
# the show's window on an X screen and quit with status 0 on q; the window
# tests' driver runs it as a person would.
exec_line=$(sed -n 's/^Exec=//p' "$unpacked/usr/share/applications/quombrax.desktop")
mkdir "$work/window"
PATH="$unpacked/usr/bin:$PATH" SDL_AUDIODRIVER=dummy \
  "$source_dir/tests/show/run_window.sh" "$exec_line" 24 "$work/window" q
status=$(cat "$work/window/status" 2>/dev/null || echo "not run")
[ "$status" = 0 ] || fail "the menu's command '$exec_line' from the package ended with: $status"

if [ $failures -eq 0 ]; then
  echo "package test: $(basename "$deb") ($(stat -c %s "$deb") bytes) and the installed tree are as expected"
fi
[ $failures -eq 0 ]
