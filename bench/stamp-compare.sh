#!/usr/bin/env bash
# End-to-end comparison of tessaly-stamp with the closest commands of
# ImageMagick and libvips, side by side in one hyperfine run on this machine:
# a batch of 24-megapixel JPEG photos stamped with a tiled 300 x 100 PNG logo,
# written as BMP and as JPEG (quality 92, 4:2:0 chroma for all three).
#   bench/stamp-compare.sh                 8 photos, 3 runs each
#   PHOTOS=4 RUNS=2 bench/stamp-compare.sh
# The photos are made in a temporary folder and removed afterwards.
set -euo pipefail

photos=${PHOTOS:-8}
runs=${RUNS:-3}
source "$(dirname "$0")/compare-common.sh"
compare_setup

# A photo-like 6000 x 4000 picture: a gradient with grain, saved at quality 92.
convert -size 6000x4000 gradient:'#203550'-'#f0c080' -attenuate 0.5 +noise Gaussian \
    -quality 92 seed.jpg
mkdir photos
for i in $(seq -w 1 "$photos"); do cp seed.jpg "photos/photo$i.jpg"; done
make_logo

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
