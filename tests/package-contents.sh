#!/usr/bin/env bash
# usage: package-contents.sh SOURCE_DIR BUILD_DIR EXPECTED_LIST
# Builds the Debian package from the built tree into a temporary folder and compares its
# files (mode, owner, path, link target) with the expected list and every help page; the
# package is not installed.
set -euo pipefail
source=$1
build=$2
expected=$3
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

if ! (cd "$build" && cpack -G DEB -B "$out") >"$out/cpack.log" 2>&1; then
    cat "$out/cpack.log"
    exit 1
fi
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
deb=$out/tessary_${version}_$(dpkg --print-architecture).deb
if [[ ! -f $deb ]]; then
    echo "no $deb; cpack wrote:" && ls "$out"
    exit 1
fi

# Directories are left out: they follow from the files.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { $3 = $4 = $5 = ""; print }' | tr -s ' ' | sort >"$out/actual"
{
    cat "$expected"
    (cd "$source/help" && find . -type f | sed 's|^\.|-rw-r--r-- root/root ./usr/share/tessary/help|')
} | sort | diff -u - "$out/actual"

# The libraries the program links are found by the package tools, not listed by hand.
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libqt6widgets6 libqt6printsupport6 qt6-qpa-plugins; do
    if [[ $depends != *"$lib"* ]]; then
        echo "Depends lacks $lib: $depends"
        exit 1
    fi
done
