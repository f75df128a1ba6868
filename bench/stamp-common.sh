# What the tessaly-stamp benchmarks share, sourced by them: the program and
# the batch's size from the environment, the tools installed, a temporary
# working folder (removed on exit) as the current one, and the pictures.
#   TESSALY_STAMP  the program, default the release build's
#   PHOTOS, RUNS   the photos in the batch and hyperfine's runs of each command
# A script may set photos and runs before it sources this, for defaults of
# its own.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
stamp=${TESSALY_STAMP:-$root/build/release/src/stamp/tessaly-stamp}
cores=$(nproc)
photos=${PHOTOS:-${photos:-8}}
runs=${RUNS:-${runs:-3}}

bash "$root/scripts/install-deps.sh" bench
[[ -x $stamp ]] || { echo "build tessaly-stamp first: cmake --workflow --preset release" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# A photo-like 6000 x 4000 picture: a gradient with grain, saved at quality 92.
make_photo() {
    convert -size 6000x4000 gradient:'#203550'-'#f0c080' -attenuate 0.5 +noise Gaussian \
        -quality 92 "$1"
}

# logo.png: a red badge with a white dot on a transparent background.
make_logo() {
    convert -size 300x100 xc:none -fill '#c02030' -draw 'roundrectangle 8,8 292,92 20,20' \
        -fill white -draw 'circle 60,50 60,78' -fill '#202020' -draw 'rectangle 110,35 270,65' \
        -depth 8 PNG32:logo.png
}

# libvips has no tiling blend in one command: its overlay.v is made once,
# outside any timing: the logo tiled to 6000 x 4000, its alpha at 51.2 %
# (Tessaly's default transparency 125 gives the watermark 131/256).
make_vips_overlay() {
    vips replicate logo.png tiled.v 20 40
    vips linear tiled.v faded.v "1 1 1 0.512" "0 0 0 0"
    vips cast faded.v overlay.v uchar
}

# PHOTOS copies of the picture in photos/.
copy_photos() {
    mkdir photos
    for i in $(seq -w 1 "$photos"); do cp "$1" "photos/photo$i.jpg"; done
}
