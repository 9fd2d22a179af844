#!/usr/bin/env bash
# Sets up a Debian 12 machine for Tessary, builds it, then runs the editor or the tests.
#   scripts/tessary.sh run    install what is missing, build, start the editor
#   scripts/tessary.sh test   install what is missing, build, run every test
set -euo pipefail

mode=${1:-}
if [[ $mode != run && $mode != test ]]; then
    echo "usage: $0 run|test" >&2
    exit 64
fi

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TESSARY_BUILD_DIR:-$top/build}

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins
          libgl-dev fonts-liberation2 fonts-dejavu-core xvfb xauth poppler-utils
          libharfbuzz-dev libhunspell-dev hunspell-en-us)
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

cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${TESSARY_CMAKE_ARGS:-}
cmake --build "$build" -j"$(nproc)"

if [[ $mode == test ]]; then
    exec ctest --test-dir "$build" --output-on-failure -j2
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
