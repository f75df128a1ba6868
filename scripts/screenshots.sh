#!/usr/bin/env bash
# Renders the program's windows offscreen into docs/ for the README.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target tessaly tessaly_screenshots
mkdir -p docs
QT_QPA_PLATFORM=offscreen build/release/tests/screenshots/tessaly_screenshots \
  build/release/src/app/tessaly docs
