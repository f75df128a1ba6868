#!/usr/bin/env bash
# What carrying a photo's metadata costs a batch: tessaly-stamp on 24-megapixel
# JPEG photos that hold a camera's EXIF block (with its thumbnail), XMP,
# Photoshop's resources (with their thumbnail) and an sRGB ICC profile, with
# the metadata carried and with --strip, side by side in one hyperfine run.
#   bench/stamp-metadata.sh                 8 photos, 5 runs each
#   PHOTOS=4 RUNS=3 bench/stamp-metadata.sh
# The photos are made in a temporary folder and removed afterwards; their
# metadata segments come from photos of the shared corpus.
set -euo pipefail

RUNS=${RUNS:-5}
source "$(dirname "$0")/stamp-common.sh"
corpus=$root/../shared/corpus/jpeg

make_photo plain.jpg
make_logo
# The segments after the start of image: EXIF and XMP of a camera photo,
# Photoshop's resources of another, an sRGB profile of a third.
python3 - "$corpus" plain.jpg seed.jpg <<'PY'
import sys
corpus, plain, seed = sys.argv[1:]
def segments(path, wanted):
    d = open(path, 'rb').read()
    at, found = 2, []
    while d[at] == 0xFF and d[at + 1] not in (0xDA, 0xD9):
        length = d[at + 2] << 8 | d[at + 3]
        if wanted(d[at + 1], d[at + 4:at + 2 + length]):
            found.append(d[at:at + 2 + length])
        at += 2 + length
    return found
camera = segments(corpus + '/jpeg-decoder/reftest/ycck.jpg', lambda m, p: m == 0xE1)
photoshop = segments(corpus + '/pillow/truncated_app14.jpg',
                     lambda m, p: m == 0xED and p.startswith(b'Photoshop 3.0'))
icc = segments(corpus + '/jpeg-decoder/mozilla/jpg-srgb-icc.jpg',
               lambda m, p: m == 0xE2 and p.startswith(b'ICC_PROFILE'))
d = open(plain, 'rb').read()
open(seed, 'wb').write(d[:2] + b''.join(camera + photoshop + icc) + d[2:])
PY
copy_photos seed.jpg

hyperfine --warmup 1 --runs "$runs" --prepare 'rm -rf out; mkdir out' \
    --export-markdown table.md \
    -n 'JPEG, metadata carried' "$stamp -q -w logo.png -d out photos/*.jpg" \
    -n 'JPEG, --strip' "$stamp -q --strip -w logo.png -d out photos/*.jpg" \
    -n 'TIFF, metadata carried' "$stamp -q -w logo.png -d out --format tiff photos/*.jpg" \
    -n 'TIFF, --strip' "$stamp -q --strip -w logo.png -d out --format tiff photos/*.jpg"
cat table.md
