#!/bin/sh
# The whole show on one page: a frame every two seconds, each labelled with its time and bar,
# tiled six to a row. Frames are drawn at 640x360 and shown at half that, so points, lines and
# glow keep the proportions they have on a real screen.  usage: tools/contact-sheet.sh [BUILD_DIR] [OUT.png]
set -e
build=$(cd "${1:-build}" && pwd)
out=${2:-$build/contact-sheet.png}
frames=$(mktemp -d)
trap 'rm -rf "$frames"' EXIT

(cd "$build" && ./halvorine-render --size 640x360 --fps 0.5 --frames "$frames")

# frame_K.png lies at 2K seconds; a bar is 1.875 s.
set --
for frame in "$frames"/frame_*.png; do
  k=$(basename "$frame" .png | sed 's/^frame_0*//')
  label=$(awk -v k="${k:-0}" 'BEGIN { t = 2 * k; printf "%.0f s   bar %.1f", t, t / 1.875 }')
  set -- "$@" -label "$label" "$frame"
done
montage "$@" -tile 6x -geometry 320x180+3+3 -background '#202020' -fill '#e0e0e0' -font DejaVu-Sans -pointsize 13 "$out"
echo "contact sheet: $out"
