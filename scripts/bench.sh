#!/usr/bin/env bash
# Runs every benchmark executable of a build, each from its own sandbox. Builds nothing.
#   bench.sh <build-dir> [name-pattern]     e.g. bench.sh build removal
set -euo pipefail
build=$(cd "${1:?usage: bench.sh <build-dir> [name-pattern]}" && pwd)
pattern=${2:-}
here=$(cd "$(dirname "$0")" && pwd)

export UNINSTALL_STAGE_DIR="$build/stage"
export UNINSTALL_PRODUCT_DIR="$build/product"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

status=0
found=0
for bench in "$build"/stage/bench_*; do
  [[ -x $bench && -f $bench ]] || continue
  [[ -z $pattern || $(basename "$bench") == *"$pattern"* ]] || continue
  found=1
  echo "== $(basename "$bench")"
  "$here/sandbox-run.sh" "$bench" || status=$?
done
[[ $found == 1 ]] || { echo "no benchmark executables in $build/stage" >&2; exit 1; }
exit $status
