#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks what a Linux desktop
# will find there: exactly the expected files, the menu entry and the
# AppStream file accepted by their validators, icons of their stated sizes,
# manual pages that render without warnings, and a shell completion that
# knows every option of tessaly-stamp.
#   check_install.sh CMAKE BUILD_DIR APP_ID FILE_LIST
set -uo pipefail
cmake=$1 build=$2 id=$3 list=$4

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

"$cmake" --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }

# Exactly the listed files, nothing more (the licence is no longer in bin/).
expected=$(grep -v '^#' "$list" | sed "s/{id}/$id/g" | sort)
found=$(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||' | sort)
if [[ "$expected" != "$found" ]]; then
    fail "installed files differ from the list (< expected, > installed):"
    diff <(echo "$expected") <(echo "$found") | grep '^[<>]'
fi
for program in tessaly tessaly-stamp; do
    [[ -x $prefix/bin/$program ]] || fail "bin/$program is not executable"
done

desktop=$prefix/share/applications/$id.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate"
for line in 'Name=Tessaly' 'Exec=tessaly' "Icon=$id" 'Type=Application'; do
    grep -qx "$line" "$desktop" || fail "the menu entry lacks the line $line"
done
grep -qE '^Categories=(.*;)?Graphics;(.*;)?Photography;' "$desktop" ||
    grep -qE '^Categories=(.*;)?Photography;(.*;)?Graphics;' "$desktop" ||
    fail "the menu entry is not in Graphics and Photography"
grep -qE '^Comment=.+' "$desktop" || fail "the menu entry has no comment"

metainfo=$prefix/share/metainfo/$id.metainfo.xml
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
grep -q '<release version="1.7.0"' "$metainfo" || fail "the AppStream file lacks release 1.7.0"
grep -q '<screenshot' "$metainfo" || fail "the AppStream file has no screenshot"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the AppStream file does not name the menu entry"

# Each PNG is as large as the folder it lies in says.
for png in "$prefix"/share/icons/hicolor/*x*/apps/"$id".png; do
    folder=$(basename "$(dirname "$(dirname "$png")")")
    size=$(python3 -c 'import struct, sys
d = open(sys.argv[1], "rb").read(24)
assert d[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
print("%dx%d" % struct.unpack(">II", d[16:24]))' "$png") || size="unreadable"
    [[ $size == "$folder" ]] || fail "$folder icon is $size"
done
grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/$id.svg" || fail "the SVG icon is no SVG"

for page in "$prefix"/share/man/man1/*.1.gz; do
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
    [[ -z $warnings ]] || fail "$(basename "$page"): $warnings"
done

# tessaly-stamp runs from the prefix, and its page and completion know each
# option that its --help names.
stamp=$prefix/bin/tessaly-stamp
[[ $("$stamp" --version) == "Tessaly 1.7" ]] || fail "tessaly-stamp --version: $("$stamp" --version 2>&1)"
options=$("$stamp" --help | grep -oE -- '--[a-z][a-z-]+' | sort -u)
[[ -n $options ]] || fail "tessaly-stamp --help names no option"
page=$(zcat "$prefix/share/man/man1/tessaly-stamp.1.gz" | sed 's/\\-/-/g')
completion=$prefix/share/bash-completion/completions/tessaly-stamp
complete_words() { # the completions of the command line "$@", the last word being completed
    bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
             _tessaly_stamp; printf "%s\n" "${COMPREPLY[@]}"' _ "$completion" "$@"
}
for option in $options; do
    grep -q -- "$option" <<<"$page" || fail "the manual page lacks $option"
    offered=$(complete_words tessaly-stamp "${option:0:4}")
    grep -qx -- "$option" <<<"$offered" || fail "the completion does not offer $option"
done
pictures=$(mktemp -d)
touch "$pictures/a.PNG" "$pictures/b.jpeg" "$pictures/notes.txt"
mkdir "$pictures/shoot"
offered=$(cd "$pictures" && complete_words tessaly-stamp -w logo.png '' | sort | tr '\n' ' ')
[[ $offered == "a.PNG b.jpeg shoot " ]] || fail "pictures completed as: $offered"
offered=$(cd "$pictures" && complete_words tessaly-stamp --format '' | tr '\n' ' ')
[[ $offered == "bmp png jpeg tiff " ]] || fail "formats completed as: $offered"
rm -rf "$pictures"

if ((failures)); then
    echo "$failures check(s) of the install tree failed"
    exit 1
fi
echo "the install tree in $prefix holds $(wc -l <<<"$found") files, all checked"
