#!/bin/sh
# Plays a few metafiles of the picture corpus into PNG files in the folder
# given as argument, so that a person can look at them.
#   scripts/render_metafiles.sh <output folder> [build folder]
set -eu
out=${1:?usage: render_metafiles.sh <output folder> [build folder]}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${2:-$root/build/release}
corpus=${TESSALY_CORPUS:-$root/../shared/corpus}
cmake --build "$build" --target render_metafile -j2 >/dev/null
mkdir -p "$out"
set --
for f in wmf/pillow/drawing.wmf wmf/wmfjs/arc.wmf wmf/wmfjs/chord.wmf wmf/wmfjs/pie.wmf \
         wmf/wmfjs/poly-polygon.wmf wmf/wmfjs/round-rect.wmf wmf/wmfjs/dash-dot.wmf \
         wmf/wmfemfviewer/image1.wmf wmf/poi/santa.wmf wmf/libuemf/test_libuemf_ref.wmf \
         wmf/wmf2svg/fulltest.wmf wmf/libgdiplus/test.wmf \
         emf/pillow/drawing.emf emf/libuemf/test_libuemf_ref.emf \
         emf/libuemf/test_mm_anisotropic_ref.emf emf/poi/wrench.emf emf/poi/vector_image.emf \
         emf/libemf2svg/emf-ea/EA-test-file-003.emf emf/wmf2svg/fulltest.emf \
         emf/libgdiplus/test.emf; do
    set -- "$@" "$corpus/$f"
done
"$build/tests/compositing/render_metafile" "$out" "$@"
