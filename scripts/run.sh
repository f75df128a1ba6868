#!/usr/bin/env bash
# Installs what is missing, builds the release build and starts Tessaly.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target tessaly
exec build/release/src/app/tessaly
