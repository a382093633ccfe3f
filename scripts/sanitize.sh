#!/usr/bin/env bash
# Builds the sanitized configuration in a second build folder (clang: AddressSanitizer with leak
# checks, UndefinedBehaviorSanitizer, the libFuzzer harnesses) and runs every test there, the
# harnesses' corpora included. Builds only what the tests run: no benchmarks, no picture tool.
#   scripts/sanitize.sh [build-dir]        (default: build-asan beside the sources)
# Packages come from scripts/setup.sh.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$here/build-asan}")

# Warnings are the normal build's gate; this one looks at what the code does when it runs.
CC=clang CXX=clang++ cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DUNINSTALL_SANITIZE=ON -DUNINSTALL_FUZZ=ON >/dev/null
targets=$(ctest --test-dir "$build" --show-only=json-v1 | jq -r '.tests[].command[]' \
  | sed -n "s|^$build/stage/||p" | sort -u)
cmake --build "$build" -j"$(nproc)" --target $targets
ctest --test-dir "$build" --output-on-failure -j2
