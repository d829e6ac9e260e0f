#!/usr/bin/env bash
# Runs every fuzz target for a fixed time, all at once, starting from its seed corpus.
# The per-input timeout is generous because the targets share the cores.
# Usage: fuzz/run-smoke.sh BUILD_DIR SECONDS
set -uo pipefail
build=${1:-build-fuzz}
seconds=${2:-60}
root=$(cd "$(dirname "$0")" && pwd)
work="$root/corpus-work"
mkdir -p "$work"
pids=()
names=()
for target in "$build"/bin/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  mkdir -p "$work/$name" "$root/corpus/$name"
  "$target" -max_total_time="$seconds" -rss_limit_mb=512 -malloc_limit_mb=256 -timeout=60 \
    -print_final_stats=1 -artifact_prefix="$work/$name-" \
    "$work/$name" "$root/corpus/$name" > "$work/$name.log" 2>&1 &
  pids+=($!)
  names+=("$name")
done
if [ ${#pids[@]} -eq 0 ]; then
  echo "no fuzz targets found in $build/bin"; exit 1
fi
failed=0
for i in "${!pids[@]}"; do
  if wait "${pids[$i]}"; then
    runs=$(grep -m1 'stat::number_of_executed_units' "$work/${names[$i]}.log" | awk '{print $2}')
    echo "${names[$i]}: ok (${runs:-?} runs)"
  else
    echo "${names[$i]}: FAILED"; tail -40 "$work/${names[$i]}.log"; failed=$((failed + 1))
  fi
done
echo "fuzz-smoke: $((${#pids[@]} - failed)) passed, $failed failed"
[ $failed -eq 0 ]
