#!/usr/bin/env bash
# tessaly-stamp against the floor (libjpeg-turbo's and libvips's decoding alone)
# and against the general tools, in one hyperfine run on this machine, and the
# ratios that tell how close it comes:
#   1. one 6000 x 4000 JPEG to BMP, with a 300 x 100 and a 2 x 2 watermark,
#      against `djpeg -outfile /dev/null` and GraphicsMagick's `gm composite`;
#   2. one 6000 x 4000 PNG to BMP against `vips avg` of the same PNG;
#   3. a batch of 6000 x 4000 JPEGs on all cores, to JPEG against libvips's
#      `vips composite2` and to BMP against ImageMagick's `composite`.
# It prints one table and draws it as a bar chart (docs/floor-compare.png).
#   bench/floor-compare.sh                  5 runs each, a batch of 4 photos
#   RUNS=3 PHOTOS=8 CHART=/tmp/c.png bench/floor-compare.sh
# The pictures are made in a temporary folder and removed afterwards.
set -euo pipefail

runs=5
photos=4
source "$(dirname "$0")/stamp-common.sh"
chart=${CHART:-$root/docs/floor-compare.png}

# A photo of our own: plasma clouds for structure, enlarged and given sensor
# grain, saved as a camera would (quality 92, 4:2:0). It decodes like a
# photograph, not like a smooth gradient. The PNG holds the same pixels.
echo "Making the pictures..."
convert -seed 7 -size 1500x1000 plasma:'#6080a0-#c0a070' -resize '6000x4000!' \
    -attenuate 0.35 +noise Gaussian -quality 92 -sampling-factor 2x2 photo.jpg
convert photo.jpg photo.png
copy_photos photo.jpg
# The logo (and libvips's overlay of it), and the smallest watermark: 2 x 2,
# one of its pixels the key colour.
make_logo
make_vips_overlay
convert -size 2x2 xc:'#3060c0' -fill white -draw 'point 0,1' -depth 8 PNG24:dot.png

each="ls photos/*.jpg | xargs -P $cores -I{} sh -c"
im_bmp='composite -dissolve 51.2 -tile logo.png {} BMP3:out/$(basename {} .jpg).bmp'
vips_jpeg='vips composite2 {} overlay.v out/$(basename {})[Q=92,subsample_mode=on] over'

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
hyperfine --warmup 1 --runs "$runs" --prepare 'rm -rf out; mkdir out' --export-json runs.json \
    -n 'djpeg to /dev/null' 'djpeg -outfile /dev/null photo.jpg' \
    -n 'djpeg to BMP' 'djpeg -bmp -outfile out/djpeg.bmp photo.jpg' \
    -n 'tessaly-stamp JPEG to BMP' "$stamp -q -w logo.png --format bmp -o out/one.bmp photo.jpg" \
    -n 'tessaly-stamp JPEG to BMP, 2 x 2' "$stamp -q -w dot.png --format bmp -o out/dot.bmp photo.jpg" \
    -n 'gm composite JPEG to BMP' 'gm composite -dissolve 51.2 -tile logo.png photo.jpg BMP3:out/gm.bmp' \
    -n 'vips avg PNG' 'vips avg photo.png' \
    -n 'tessaly-stamp PNG to BMP' "$stamp -q -w logo.png --format bmp -o out/png.bmp photo.png" \
    -n 'tessaly-stamp batch to JPEG' "$stamp -q -w logo.png -d out photos/*.jpg" \
    -n 'vips composite2 batch to JPEG' "$each '$vips_jpeg'" \
    -n 'tessaly-stamp batch to BMP' "$stamp -q -w logo.png -d out --format bmp photos/*.jpg" \
    -n 'ImageMagick batch to BMP' "$each '$im_bmp'"
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

machine="$(nproc) cores of $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
about="$machine, $(date -u +%F); load average before $load_before, after $load_after"
echo
echo "$about; $runs runs each, a batch of $photos photos"
echo
python3 "$root/bench/floor_table.py" runs.json table.dat
gnuplot -e "data='table.dat'; out='$chart'; subtitle='$about'" "$root/bench/floor-chart.gp"
echo
echo "chart: $chart"
