#!/usr/bin/env bash
# usage: package-contents.sh SOURCE_DIR BUILD_DIR EXPECTED_LIST
# Builds the Debian packages (tessary and fonts-tessary) from the built tree into a temporary
# folder and compares their files (package, mode, owner, path, link target) with the expected
# list and every help page; the packages are not installed.
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
program=$out/tessary_${version}_$(dpkg --print-architecture).deb
fonts=$out/fonts-tessary_${version}_all.deb
for deb in "$program" "$fonts"; do
    if [[ ! -f $deb ]]; then
        echo "no $deb; cpack wrote:" && ls "$out"
        exit 1
    fi
done

# Each file with its package's name in front; directories are left out: they follow from
# the files.
files() {
    dpkg-deb -c "$1" | awk -v package="$2:" '$1 !~ /^d/ { $3 = $4 = $5 = ""; print package, $0 }'
}
{ files "$program" tessary; files "$fonts" fonts-tessary; } | tr -s ' ' | sort >"$out/actual"
{
    cat "$expected"
    (cd "$source/help" && find . -type f |
        sed 's|^\.|tessary: -rw-r--r-- root/root ./usr/share/tessary/help|')
} | sort | diff -u - "$out/actual"

# The libraries the program links are found by the package tools, not listed by hand; the
# faces are the same on every architecture, and the program needs them at its own version.
depends=$(dpkg-deb -f "$program" Depends)
for lib in libc6 libqt6widgets6 libqt6printsupport6 qt6-qpa-plugins "fonts-tessary (= $version)"; do
    if [[ $depends != *"$lib"* ]]; then
        echo "Depends lacks $lib: $depends"
        exit 1
    fi
done
if [[ $(dpkg-deb -f "$fonts" Architecture) != all ]]; then
    echo "fonts-tessary is not Architecture: all"
    exit 1
fi
