#!/usr/bin/env bash
# End-to-end comparison of tessaly-stamp with the closest commands of
# ImageMagick and libvips, side by side in one hyperfine run on this machine:
# a batch of 24-megapixel JPEG photos stamped with a tiled 300 x 100 PNG logo,
# written as BMP and as JPEG (quality 92, 4:2:0 chroma for all three).
#   bench/stamp-compare.sh                 8 photos, 3 runs each
#   PHOTOS=4 RUNS=2 bench/stamp-compare.sh
# The photos are made in a temporary folder and removed afterwards.
set -euo pipefail

source "$(dirname "$0")/stamp-common.sh"

make_photo seed.jpg
copy_photos seed.jpg
make_logo
make_vips_overlay

im_jpeg='composite -dissolve 51.2 -tile logo.png {} -quality 92 -sampling-factor 2x2 out/$(basename {})'
im_bmp='composite -dissolve 51.2 -tile logo.png {} BMP3:out/$(basename {} .jpg).bmp'
vips_jpeg='vips composite2 {} overlay.v out/$(basename {})[Q=92,subsample_mode=on] over'
vips_bmp='vips composite2 {} overlay.v out/$(basename {} .jpg).bmp over'
each="ls photos/*.jpg | xargs -P $cores -I{} sh -c"

hyperfine --warmup 1 --runs "$runs" --prepare 'rm -rf out; mkdir out' \
    --export-markdown table.md \
    -n 'tessaly-stamp, BMP' "$stamp -q -w logo.png -d out --format bmp photos/*.jpg" \
    -n 'ImageMagick composite, BMP' "$each '$im_bmp'" \
    -n 'libvips composite2, BMP' "$each '$vips_bmp'" \
    -n 'tessaly-stamp, JPEG' "$stamp -q -w logo.png -d out photos/*.jpg" \
    -n 'ImageMagick composite, JPEG' "$each '$im_jpeg'" \
    -n 'libvips composite2, JPEG' "$each '$vips_jpeg'"
cat table.md
