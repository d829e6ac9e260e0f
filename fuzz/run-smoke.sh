#!/usr/bin/env bash
# Runs every fuzz target from its seed corpus, JOBS at a time, within about
# SECONDS on the whole: the JOBS x SECONDS core-seconds are shared out among
# the targets, and those whose inputs take milliseconds each (a credits
# scroll, a level, particles, scripts, font tinting; listed below) get a
# triple share. With no more targets at once than cores, each has a core to
# itself for its share.
# The per-input timeout stays generous: a loaded machine may still slow a run.
# Usage: fuzz/run-smoke.sh BUILD_DIR [SECONDS [JOBS]]
set -uo pipefail
build=${1:-build-test}
seconds=${2:-60}
jobs=${3:-$(nproc)}
root=$(cd "$(dirname "$0")" && pwd)
work="$root/corpus-work"
slow=" fuzz_animscript fuzz_credits fuzz_emitterdef fuzz_glyphstrip fuzz_tuk_highscores fuzz_tuk_scene "

shares() { [[ $slow == *" $1 "* ]] && echo 3 || echo 1; }

targets=()
total=0
for target in "$build"/bin/fuzz_*; do
  [ -x "$target" ] || continue
  targets+=("$(basename "$target")")
  total=$((total + $(shares "${targets[-1]}")))
done
if [ ${#targets[@]} -eq 0 ]; then
  echo "no fuzz targets found in $build/bin"; exit 1
fi
echo "fuzz-smoke: ${#targets[@]} targets, $jobs at a time, about ${seconds}s"

# One target for its share of the time (libFuzzer stops in the second after
# its -max_total_time, and 0 would mean no limit); its exit status goes
# beside its log.
run_one() {
  local name=$1 share=$2
  mkdir -p "$work/$name" "$root/corpus/$name"
  "$build/bin/$name" -max_total_time=$((share > 1 ? share - 1 : 1)) -rss_limit_mb=512 -malloc_limit_mb=256 -timeout=60 \
    -print_final_stats=1 -artifact_prefix="$work/$name-" \
    "$work/$name" "$root/corpus/$name" > "$work/$name.log" 2>&1
  echo $? > "$work/$name.status"
}

# The long runs start first, so that the short ones fill in behind them.
mkdir -p "$work"
for name in $(for t in "${targets[@]}"; do echo "$(shares "$t") $t"; done | sort -k1,1nr -k2 | cut -d' ' -f2); do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n; done
  rm -f "$work/$name.status"
  run_one "$name" $((seconds * jobs * $(shares "$name") / total)) &
done
wait

failed=0
for name in "${targets[@]}"; do
  if [ "$(cat "$work/$name.status" 2>/dev/null)" = 0 ]; then
    runs=$(grep -m1 'stat::number_of_executed_units' "$work/$name.log" | awk '{print $2}')
    echo "$name: ok (${runs:-?} runs)"
  else
    echo "$name: FAILED"; tail -40 "$work/$name.log"; failed=$((failed + 1))
  fi
done
echo "fuzz-smoke: $((${#targets[@]} - failed)) passed, $failed failed"
[ $failed -eq 0 ]
