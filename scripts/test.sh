#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds, and runs every test (each from its own sandbox);
# then builds the operating-system core for Windows with mingw-w64 in <build-dir>/win32 and runs
# its tests under wine64; then the sanitized build in <build-dir>-asan with its fuzz harnesses.
#   scripts/test.sh [build-dir]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
"$here/scripts/setup.sh" "$build"
cmake -S "$here" -B "$build/win32" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DUNINSTALL_WERROR=ON >/dev/null
cmake --build "$build/win32" -j"$(nproc)"

status=0
ctest --test-dir "$build" --output-on-failure -j2 || status=$?
ctest --test-dir "$build/win32" --output-on-failure || status=$?
# The same tests under the sanitizers in a second build, then 20 s of fuzzing per harness from a
# fixed seed, so that every machine walks the same inputs.
"$here/scripts/sanitize.sh" "$build-asan" || status=$?
FUZZ_SEED=1 "$here/scripts/fuzz.sh" 20s "$build-asan" || status=$?
# Tests stay at most 40 % of the code's lines.
python3 "$here/scripts/count-lines.py" --limit 40 || status=$?
exit $status
