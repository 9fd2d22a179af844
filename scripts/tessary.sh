#!/usr/bin/env bash
# Sets up a Debian 12 machine for Tessary, builds it, then runs the editor or the tests.
#   scripts/tessary.sh run    install what is missing, build, start the editor
#   scripts/tessary.sh test   install what is missing, build, run every test; with
#                             TESSARY_SANITIZERS=1 (CI) the sanitizer suite after them
#   scripts/tessary.sh sanitize   the tests built with AddressSanitizer and
#                             UndefinedBehaviorSanitizer in build-asan (leaks checked too)
#   scripts/tessary.sh package    the Debian packages build/tessary_<version>_<arch>.deb and
#                             build/fonts-tessary_<version>_all.deb (the notation faces)
set -euo pipefail

mode=${1:-}
if [[ $mode != run && $mode != test && $mode != sanitize && $mode != package ]]; then
    echo "usage: $0 run|test|sanitize|package" >&2
    exit 64
fi

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TESSARY_BUILD_DIR:-$top/build}

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins
          libgl-dev fonts-liberation2 fonts-dejavu-core xvfb xauth poppler-utils
          libharfbuzz-dev libhunspell-dev hunspell-en-us dpkg-dev file)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo=""
    [[ $(id -u) -ne 0 ]] && sudo="sudo"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
fi

# A second build of the tests with the sanitizers; their options and the leak suppressions
# come with the build (tests/CMakeLists.txt), so `ctest --test-dir build-asan` runs it too.
sanitizer_suite() {
    local asan=${TESSARY_ASAN_BUILD_DIR:-$top/build-asan}
    cmake -S "$top" -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSARY_SANITIZE=ON \
        ${TESSARY_CMAKE_ARGS:-}
    cmake --build "$asan" -j"$(nproc)"
    ctest --test-dir "$asan" --output-on-failure -j2
}

if [[ $mode == sanitize ]]; then
    sanitizer_suite
    exit
fi

if [[ $mode == package ]]; then
    # A Release build of its own, with Debian's hardening flags; the package lands in $build.
    release=${TESSARY_RELEASE_BUILD_DIR:-$top/build-release}
    cmake -S "$top" -B "$release" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
        -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" ${TESSARY_CMAKE_ARGS:-}
    cmake --build "$release" -j"$(nproc)" --target tessary tessary_package_docs
    (cd "$release" && cpack -G DEB -B "$build")
    ls "$build"/tessary_*.deb "$build"/fonts-tessary_*.deb
    exit
fi

cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${TESSARY_CMAKE_ARGS:-}
cmake --build "$build" -j"$(nproc)"

if [[ $mode == test ]]; then
    ctest --test-dir "$build" --output-on-failure -j2
    if [[ ${TESSARY_SANITIZERS:-0} == 1 ]]; then
        sanitizer_suite
    fi
    exit 0
fi

if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
    cat >&2 <<MSG
Tessary is built ($build/tessary), but there is no display to show it on (DISPLAY is not set).
Start it from a desktop session, or under a virtual display:
  xvfb-run -s "-screen 0 1280x1024x24" $build/tessary
MSG
    exit 2
fi
exec "$build/tessary"
