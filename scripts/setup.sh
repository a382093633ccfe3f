#!/usr/bin/env bash
# Installs what building, testing and the demo need on Debian 12, then configures and builds.
# (The Windows build of the operating-system core is scripts/test.sh's.)
#   scripts/setup.sh [build-dir]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}

packages=(
  build-essential cmake ninja-build ccache pkg-config
  qtbase5-dev qttools5-dev qttools5-dev-tools
  libx11-dev xvfb xauth x11-utils openbox
  libcpp-httplib-dev libsqlite3-dev sqlite3 libssl-dev zlib1g-dev libbrotli-dev curl jq
  fonts-dejavu-core fonts-noto-cjk
  googletest g++-mingw-w64-x86-64-posix wine64
  clang libclang-rt-14-dev llvm
)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  echo "setup: installing ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DUNINSTALL_WERROR=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
