#!/usr/bin/env bash
# Makes the interoperability corpus: image files written by ImageMagick
# (convert) and netpbm, binary and plain, 8-bit and wider, of odd sizes, and
# the pictures both tools decode them to, as 8-bit P6 files (no comments)
# under expected/. corpus.txt says, for every file and decoding tool, which
# picture our readers must make of it. The tests read only what this script
# leaves behind; they never run the tools. Run it again only to remake the
# corpus (needs the imagemagick and netpbm packages).
#
# corpus.txt, one line per file and decoding tool:
#   NAME DECODER EXPECTED RELATION READERS TOLERANCE
#   RELATION  same      every pixel is the tool's
#             negated   every pixel is the tool's negation (a set P4/P1 bit is
#                       white to our readers, black to the tools)
#             refused   not a format we read (DECODER and EXPECTED are "-")
#   READERS   all       all four readers decode it
#             memory    only the memory readers do: the file readers read P1
#                       as one number per pixel, and netpbm writes runs of
#                       digits without blanks
#   TOLERANCE the largest difference allowed per channel: 0, except for
#             ImageMagick's decoding of samples wider than a byte, which
#             reaches 8 bits rounding down in places where rounding to
#             nearest (netpbm's and ours) rounds up
set -euo pipefail
cd "$(dirname "$0")"
rm -rf files expected
mkdir files expected
manifest=corpus.txt
: >"$manifest"

# A tool's own decoding of a file, as an 8-bit P6 without comments.
decode_with_imagemagick() { convert "$1" -strip -depth 8 ppm:-; }
decode_with_netpbm() { pamdepth 255 "$1" 2>/dev/null | ppmtoppm; }

maxval_of() { pamfile -machine "$1" | awk '{print $(NF-1)}'; }

# Keeps a decoded picture under expected/, shared by files that decode alike;
# prints its name.
keep_expected() {
  local decoded=$1 name=$2
  for known in expected/*.ppm; do
    if [ -e "$known" ] && cmp -s "$known" "$decoded"; then
      echo "${known#expected/}"
      return
    fi
  done
  cat "$decoded" >"expected/$name"
  echo "$name"
}

# Writes files/NAME from stdin and lists it with each tool's decoding of it.
add() {
  local name=$1 relation=$2 readers=$3
  cat >"files/$name"
  if [ "$relation" = refused ]; then
    printf '%s - - refused %s 0\n' "$name" "$readers" >>"$manifest"
    return
  fi
  local decoded tolerance
  decoded=$(mktemp)
  for tool in imagemagick netpbm; do
    "decode_with_$tool" "files/$name" >"$decoded"
    tolerance=0
    if [ "$tool" = imagemagick ] && [ "$(maxval_of "files/$name")" -gt 255 ]; then
      tolerance=1
    fi
    printf '%s %s %s %s %s %s\n' "$name" "$tool" \
      "$(keep_expected "$decoded" "${name%.*}.$tool.ppm")" "$relation" "$readers" \
      "$tolerance" >>"$manifest"
  done
  rm -f "$decoded"
}

comment=(-set comment "written by ImageMagick")
# A colour crop whose blur leaves values between the 8-bit steps, so that the
# 16-bit files hold more than 8 bits of picture.
rose=(rose: -crop 13x7+30+18 +repage -blur 0x0.6)
small_rose=(rose: -crop 11x5+20+25 +repage -blur 0x0.6)

convert "${rose[@]}" "${comment[@]}" -depth 8 ppm:- | add im_p6_8.ppm same all
convert "${rose[@]}" "${comment[@]}" -depth 16 ppm:- | add im_p6_16.ppm same all
convert "${small_rose[@]}" -depth 8 -compress none ppm:- | add im_p3_8.ppm same all
convert "${small_rose[@]}" -depth 16 -compress none ppm:- | add im_p3_16.ppm same all
convert "${rose[@]}" -colorspace gray "${comment[@]}" -depth 8 pgm:- |
  add im_p5_8.pgm same all
convert "${rose[@]}" -colorspace gray "${comment[@]}" -depth 16 pgm:- |
  add im_p5_16.pgm same all
convert "${small_rose[@]}" -colorspace gray -depth 8 -compress none pgm:- |
  add im_p2_8.pgm same all
convert "${small_rose[@]}" -colorspace gray -depth 16 -compress none pgm:- |
  add im_p2_16.pgm same all
convert "${rose[@]}" -colorspace gray -threshold 50% "${comment[@]}" pbm:- |
  add im_p4.pbm negated all
convert "${small_rose[@]}" -colorspace gray -threshold 50% -compress none pbm:- |
  add im_p1.pbm negated all
convert "${small_rose[@]}" -depth 8 pam:- | add im_p7.pam refused all

ramp=(pgmramp -diagonal 13 7)
pattern=(ppmpat -gingham3 "-color=rgb:e0/30/10,rgb:20/90/f0,rgb:f8/f8/40" 13 7)

"${ramp[@]}" | add nb_p5_8.pgm same all
pgmramp -diagonal -maxval 65535 13 7 | add nb_p5_16.pgm same all
pgmramp -diagonal -maxval 1000 13 7 | add nb_p5_1000.pgm same all
pgmramp -diagonal -maxval 1000 11 5 | pnmtoplainpnm | add nb_p2_1000.pgm same all
"${pattern[@]}" | add nb_p6_8.ppm same all
ppmrainbow -width=13 -height=7 red green blue | pamdepth 4095 | add nb_p6_4095.ppm same all
ppmrainbow -width=11 -height=5 red blue | pnmtoplainpnm | add nb_p3_8.ppm same all
ppmrainbow -width=11 -height=5 blue yellow | pamdepth 65535 | pnmtoplainpnm |
  add nb_p3_65535.ppm same all
"${ramp[@]}" | pamditherbw -threshold | pamtopnm | add nb_p4.pbm negated all
pgmramp -diagonal 11 5 | pamditherbw -threshold | pamtopnm | pnmtoplainpnm |
  add nb_p1.pbm negated memory
"${ramp[@]}" | pamtopam | add nb_p7.pam refused all

echo "corpus: $(find files -type f | wc -l) files, $(cat files/* expected/* | wc -c) bytes"
