#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Tessaly need,
# and only those that are missing. As root it runs apt-get itself; otherwise it
# prints the exact command to run and fails.
#   scripts/install-deps.sh            build, run and test
#   scripts/install-deps.sh fuzz       also clang and its libFuzzer runtime
#   scripts/install-deps.sh bench      also the tools the comparison benchmark runs
#   scripts/install-deps.sh fixtures   also the picture writers scripts/make-fixtures.sh runs
#   scripts/install-deps.sh package    also lintian, for scripts/check-package.sh
set -euo pipefail

packages=(
  build-essential cmake pkg-config python3 git
  qt6-base-dev qt6-svg-dev libgl-dev fonts-dejavu-core fonts-liberation help2man
  libcurl4-openssl-dev libpng-dev libjpeg-dev libgif-dev libtiff-dev libexif-dev libpcre2-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  openssl
  desktop-file-utils appstream man-db parallel
)
for extra in "$@"; do
  case "$extra" in
    fuzz) packages+=(clang libclang-rt-14-dev) ;;
    bench) packages+=(imagemagick graphicsmagick libvips-tools libjpeg-turbo-progs hyperfine
                      gnuplot-nox) ;;
    fixtures) packages+=(imagemagick graphicsmagick python3-pil libvips-tools netpbm
                         libjpeg-turbo-progs libtiff-tools) ;;
    screenshot) packages+=(xvfb xauth) ;;
    package) packages+=(lintian) ;;
    *) echo "unknown package group: $extra" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

if [[ $(id -u) -eq 0 ]]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
else
  echo "Missing packages. Run:" >&2
  echo "  sudo apt-get update && sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
  exit 1
fi
