#!/usr/bin/env bash
# Runs every fuzz target for SECONDS each, two at a time (one per core), from
# its seed corpus in fuzz/corpus/TARGET. New inputs go to BUILD/corpus/TARGET so
# the kept seeds stay small; a crash is saved under BUILD/artifacts and fails
# the run. Usage: run-fuzz.sh BUILD SECONDS
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1
seconds=$2

run_one() {
  local target=$1 build=$2 seconds=$3
  mkdir -p "$build/corpus/$target" "$build/artifacts"
  if "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$build/artifacts/$target-" \
      "$build/corpus/$target" "fuzz/corpus/$target" >"$build/$target.log" 2>&1; then
    echo "$target: $(grep -o 'stat::number_of_executed_units: *[0-9]*' "$build/$target.log" \
      | grep -o '[0-9]*$') runs, $(grep -E '^#[0-9]+[[:space:]]+DONE' "$build/$target.log" \
      | grep -oE 'cov: [0-9]+ ft: [0-9]+')"
  else
    echo "$target: FAILED, see $build/$target.log"
    tail -n 30 "$build/$target.log"
    return 1
  fi
}
export -f run_one

targets=$(ls fuzz/corpus)
printf '%s\n' $targets | xargs -P 2 -I{} bash -c 'run_one "$@"' _ {} "$build" "$seconds"
