#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a few seconds each, from its seed
# corpus, and fails when one finds a crash or none was built. The random seed
# and the number of runs are fixed, so that a pass here is a pass in CI: new
# ground is explored by long fuzzing runs, not by the gate every change meets.
# Usage: tests/fuzz/smoke.sh BUILD_FOLDER [SECONDS]
set -uo pipefail
build=${1:?usage: smoke.sh BUILD_FOLDER [SECONDS]}
seconds=${2:-5}
work=$(mktemp -d "${TMPDIR:-/tmp}/tevlan-fuzz-smoke.XXXXXX")
trap 'rm -rf "$work"' EXIT
passed=0 failed=0
for target in "$build"/tests/fuzz_*; do
  [ -x "$target" ] && [ -f "$target" ] || continue
  entry=${target##*/fuzz_}
  mkdir -p "$work/$entry"
  seeds=()
  [ -d "$build/fuzz_corpus/$entry" ] && seeds=("$build/fuzz_corpus/$entry")
  # New inputs go to the scratch folder; the seed corpus is only read.
  if "$target" -seed=1 -runs=20000 -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=0 \
       -artifact_prefix="$work/$entry/" "$work/$entry" "${seeds[@]}" >"$work/$entry.log" 2>&1; then
    echo "fuzz-smoke: $entry ok"
    passed=$((passed + 1))
  else
    echo "fuzz-smoke: $entry FAILED"
    tail -n 40 "$work/$entry.log"
    for crash in "$work/$entry"/crash-* "$work/$entry"/leak-* "$work/$entry"/timeout-*; do
      [ -f "$crash" ] && echo "input: $(od -An -tx1 -v "$crash" | tr -d " \n" | head -c 400)"
    done
    failed=$((failed + 1))
  fi
done
if [ $((passed + failed)) -eq 0 ]; then
  echo "fuzz-smoke: no fuzz target in $build/tests"
  exit 1
fi
echo "fuzz-smoke: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
