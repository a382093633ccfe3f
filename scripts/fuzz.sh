#!/usr/bin/env bash
# Fuzzes every harness of a sanitized build (scripts/sanitize.sh) for a while, two at a time,
# each from its own sandbox and starting from its corpus in fuzz/corpus/<name>.
#   scripts/fuzz.sh [MINUTES|SECONDSs] [build-dir] [name-pattern]   e.g. fuzz.sh 10, fuzz.sh 20s
# FUZZ_SEED=N fixes libFuzzer's seed and starts without an earlier run's finds: the run is then the
# same on every machine (a faster one gets further along the same path), so CI can only fail on a
# real change.
# What a run finds new stays in <build-dir>/fuzzing/found/<name> for the next run. A crash is saved
# as <build-dir>/fuzzing/crashes/<name>-crash-*: add it to fuzz/corpus/<name> (and a row to the
# tests of that parser), so that every later run replays it.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
length=${1:-5}
build=$(cd "${2:-$here/build-asan}" && pwd)
pattern=${3:-}
case $length in
  *s) seconds=${length%s} ;;
  *) seconds=$((length * 60)) ;;
esac
[[ $seconds =~ ^[0-9]+$ && $seconds -gt 0 ]] || { echo "fuzz.sh: bad length $length" >&2; exit 2; }

harnesses=()
for harness in "$build"/stage/fuzz_*; do
  [[ -x $harness ]] || continue
  name=${harness##*/fuzz_}
  [[ -z $pattern || $name == *"$pattern"* ]] && harnesses+=("$name")
done
((${#harnesses[@]})) || { echo "fuzz.sh: no harnesses in $build/stage (scripts/sanitize.sh builds them)" >&2; exit 1; }

export UNINSTALL_STAGE_DIR="$build/stage" UNINSTALL_PRODUCT_DIR="$build/product"
seed=()
if [[ -n ${FUZZ_SEED:-} ]]; then
  seed=(-seed="$FUZZ_SEED")
  export QT_HASH_SEED=0
fi
# Without leak checks: Qt's JSON parser leaks on repeated keys, and only the slow unwinder
# tells that apart from a leak of ours. The corpus runs of the suite check leaks.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$here/tests/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
mkdir -p "$build/fuzzing/crashes" "$build/fuzzing/logs"

fuzz() {
  local name=$1 found="$build/fuzzing/found/$1"
  ((${#seed[@]})) && rm -rf "$found"
  mkdir -p "$found"
  # New inputs go to the first folder only: the corpus in the tree stays as it is.
  "$here/scripts/sandbox-run.sh" "$build/stage/fuzz_$name" -max_total_time="$seconds" "${seed[@]}" \
    -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$build/fuzzing/crashes/$name-" -dict="$here/fuzz/fuzz.dict" \
    "$found" "$here/fuzz/corpus/$name" >"$build/fuzzing/logs/$name.log" 2>&1
}

echo "fuzz.sh: ${#harnesses[@]} harnesses, ${seconds} s each, two at a time"
failed=()
running=()
for name in "${harnesses[@]}"; do
  fuzz "$name" &
  running+=("$!:$name")
  if ((${#running[@]} == 2)); then
    entry=${running[0]}
    running=("${running[@]:1}")
    wait "${entry%%:*}" || failed+=("${entry#*:}")
  fi
done
for entry in "${running[@]}"; do
  wait "${entry%%:*}" || failed+=("${entry#*:}")
done

for name in "${harnesses[@]}"; do
  log="$build/fuzzing/logs/$name.log"
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  echo "  $name: ${runs:-?} inputs"
done
if ((${#failed[@]})); then
  for name in "${failed[@]}"; do
    echo "== fuzz_$name found a problem:" >&2
    grep -v '^#\|^INFO\|^stat::\|^MS:' "$build/fuzzing/logs/$name.log" | tail -60 >&2
  done
  echo "fuzz.sh: failed: ${failed[*]}; crash inputs in $build/fuzzing/crashes" >&2
  exit 1
fi
