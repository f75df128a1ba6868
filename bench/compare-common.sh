# Shared by bench/stamp-compare.sh and bench/floor-compare.sh (sourced, not
# run): the tools, a temporary working folder, and the watermarks.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
stamp=${TESSALY_STAMP:-$root/build/release/src/stamp/tessaly-stamp}
cores=$(nproc)

# Installs the compared programs from Debian's packages, checks that
# tessaly-stamp is built, and moves into a temporary folder that goes away
# when the script ends.
compare_setup() {
    bash "$root/scripts/install-deps.sh" bench
    [[ -x $stamp ]] || { echo "build tessaly-stamp first: cmake --workflow --preset release" >&2; exit 1; }
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    cd "$work"
}

# logo.png: a red badge with a white dot on a transparent background. Then,
# since libvips has no tiling blend in one command, its overlay.v, made once
# here outside any timing: the logo tiled to 6000 x 4000, its alpha at 51.2 %
# (Tessaly's default transparency 125 gives the watermark 131/256).
make_logo() {
    convert -size 300x100 xc:none -fill '#c02030' -draw 'roundrectangle 8,8 292,92 20,20' \
        -fill white -draw 'circle 60,50 60,78' -fill '#202020' -draw 'rectangle 110,35 270,65' \
        -depth 8 PNG32:logo.png
    vips replicate logo.png tiled.v 20 40
    vips linear tiled.v faded.v "1 1 1 0.512" "0 0 0 0"
    vips cast faded.v overlay.v uchar
}
