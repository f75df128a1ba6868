#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice: in the
# release build and in the AddressSanitizer + UndefinedBehaviorSanitizer build.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
for preset in release sanitize; do
  echo "=== $preset build and tests ==="
  cmake --workflow --preset "$preset"
done
