#!/usr/bin/env bash
# Builds the Debian package, checks that it holds every file of the
# installation, shows its control fields and runs lintian on it, which must
# report no error. Not part of CI: it builds the program a second time and
# installs lintian (scripts/install-deps.sh package).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh package
scripts/package.sh
deb=$(ls build/package/tessaly_*.deb)
id=$(sed -n 's/^TESSALY_APP_ID:STRING=//p' build/package/CMakeCache.txt)

echo "=== $deb"
dpkg-deb --info "$deb" | sed -n '/Package:/,$p'
listing=$(dpkg-deb --contents "$deb")
echo "$listing"
missing=0
while read -r file; do
    [[ -z $file || $file == \#* ]] && continue
    file=./usr/${file//\{id\}/$id}
    if ! awk '{print $6}' <<<"$listing" | grep -qxF -- "$file"; then
        echo "missing from the package: $file"
        missing=1
    fi
done <tests/install/installed-files.txt
((missing == 0)) || exit 1

echo "=== lintian"
lintian --display-info --fail-on error "$deb"
echo "lintian: no errors"
