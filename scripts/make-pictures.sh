#!/usr/bin/env bash
# Regenerates the sample product's pictures (shipped defaults, skin images, logo and icons, and
# the content service's remote pictures) with picturegen, then lists what changed.
#   scripts/make-pictures.sh [build-dir]     (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}

if [[ ! -f $build/CMakeCache.txt ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" --target picturegen -j2
QT_QPA_PLATFORM=offscreen "$build/stage/picturegen" --product "$root/product/install" --content "$root/tools/content"
git -C "$root" status --short -- product/install tools/content
