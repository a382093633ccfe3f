#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds, and runs every test (each from its own sandbox).
#   scripts/test.sh [build-dir]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
"$here/scripts/setup.sh" "$build"
ctest --test-dir "$build" --output-on-failure -j2
