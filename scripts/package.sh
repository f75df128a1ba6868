#!/usr/bin/env bash
# Builds the Debian package build/package/tessaly_<version>_<arch>.deb with
# CPack from a release build of its own (build/package/, no tests), the
# dependencies found by dpkg-shlibdeps.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
rm -f build/package/tessaly_*.deb
cmake --workflow --preset package
ls build/package/tessaly_*.deb
