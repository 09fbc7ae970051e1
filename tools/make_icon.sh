#!/usr/bin/env bash
# Draws the program icon (a dark gaming mouse with a teal wheel and accent) from the vector
# drawing below and writes it as a .ico with 16, 32, 48 and 256 pixel images.
# Usage: tools/make_icon.sh OUT.ico
set -euo pipefail
out=${1:?usage: make_icon.sh OUT.ico}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

body='#1c2028' seam='#3c4452' teal='#17d0c2' shine='#2b313c'

# The drawing lives in a 256 x 256 space. Small sizes get heavier lines and fewer details, so
# they stay readable at 16 pixels.
drawing() {
    local size=$1 outline=10 accent=12 details=1
    if [ "$size" -le 16 ]; then outline=26 accent=28 details=0
    elif [ "$size" -le 32 ]; then outline=18 accent=20
    elif [ "$size" -le 48 ]; then outline=14 accent=16
    fi
    local k
    k=$(awk -v s="$size" 'BEGIN { printf "%.6f", s / 256 }')
    cat <<MVG
push graphic-context
  scale $k,$k
  stroke-linecap round
  stroke-linejoin round
  fill '$body'
  stroke '$teal'
  stroke-width $outline
  path 'M 128,18 C 186,18 210,62 210,118 L 210,168 C 210,218 176,240 128,240 C 80,240 46,218 46,168 L 46,118 C 46,62 70,18 128,18 Z'
MVG
    if [ "$details" -eq 1 ]; then
        cat <<MVG
  fill '$shine'
  stroke none
  path 'M 64,120 C 64,74 82,40 118,32 L 118,110 Z'
  fill none
  stroke '$seam'
  stroke-width 6
  line 128,28 128,114
  path 'M 52,116 Q 128,134 204,116'
MVG
    fi
    cat <<MVG
  fill '$teal'
  stroke none
  roundrectangle 114,46 142,98 10,10
  fill none
  stroke '$teal'
  stroke-width $accent
  polyline 94,164 128,190 162,164
pop graphic-context
MVG
}

images=()
for size in 16 32 48 256; do
    # Passed inline: the usual ImageMagick policy forbids reading a drawing from a file.
    convert -size "${size}x${size}" xc:none -draw "$(drawing "$size")" "PNG32:$work/icon$size.png"
    images+=("$work/icon$size.png")
done
mkdir -p "$(dirname "$out")"
convert "${images[@]}" "$out"
