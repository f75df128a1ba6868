#!/usr/bin/env bash
# Writes the real-world picture fixtures of tests/compositing/fixtures/real/:
# the project's own source pictures saved by the programs people use
# (ImageMagick, GraphicsMagick, Pillow, libvips, netpbm, libjpeg-turbo,
# libtiff's tools), each with the picture that program's own decoder shows.
# The fixtures are committed; the tests need none of these programs.
#   scripts/make-fixtures.sh            every kind
#   scripts/make-fixtures.sh bmp tiff   some kinds
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh fixtures
kinds=("$@")
[[ ${#kinds[@]} -gt 0 ]] || kinds=(bmp ico jpeg png gif tiff)
src=$(mktemp -d)
trap 'rm -rf "$src"' EXIT
python3 scripts/fixtures/source_pictures.py "$src"
for kind in "${kinds[@]}"; do
  out=tests/compositing/fixtures/real/$kind
  rm -rf "$out"
  bash "scripts/fixtures/$kind.sh" "$src" "$out"
  echo "$kind: $(wc -l < "$out/manifest.tsv") fixtures, $(du -sk "$out" | cut -f1) KiB"
done
