#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build folder for a number of seconds each,
# starting from its seed inputs. Fails at the end when any target found a
# crash, a leak, a hang or a broken property, and prints where the input that
# shows it was saved.
#
#   scripts/fuzz.sh <build folder> <seconds> [target name ...]
set -uo pipefail
build=${1:?build folder}
seconds=${2:-60}
shift 2 || true
jobs_dir="$build/fuzz-runs"
mkdir -p "$jobs_dir"

targets=()
if [ $# -gt 0 ]; then
  for name in "$@"; do targets+=("$build/fuzz/fuzz_$name"); done
else
  for t in "$build"/fuzz/fuzz_*; do
    [ -x "$t" ] && [ ! -d "$t" ] && targets+=("$t")
  done
fi
if [ ${#targets[@]} -eq 0 ]; then
  echo "no fuzz targets in $build/fuzz" >&2
  exit 2
fi

failed=()
printf '%-22s %10s %8s %8s  %s\n' target runs cov features result
for t in "${targets[@]}"; do
  name=$(basename "$t")
  seeds=$(cat "$t.seeds" 2>/dev/null || true)
  # New inputs the run finds go to a corpus of the build folder; the seeds in
  # the tree are only read.
  corpus="$build/fuzz-corpus/$name"
  artifacts="$jobs_dir/$name/"
  mkdir -p "$corpus" "$artifacts"
  log="$jobs_dir/$name.log"
  "$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
       -print_final_stats=1 -artifact_prefix="$artifacts" \
       "$corpus" ${seeds:+"$seeds"} >"$log" 2>&1
  rc=$?
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*')
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*')
  if [ $rc -eq 0 ]; then
    result=ok
  else
    result="FAILED (exit $rc)"
    failed+=("$name")
  fi
  printf '%-22s %10s %8s %8s  %s\n' "${name#fuzz_}" "${runs:-?}" "${cov:-?}" "${ft:-?}" "$result"
  if [ $rc -ne 0 ]; then
    grep -E '^==[0-9]+==ERROR|^SUMMARY|property failed|runtime error' "$log" | head -5 | sed 's/^/    /'
    for a in "$artifacts"*; do
      [ -f "$a" ] && echo "    reproducer: $a  (run: $t $a)"
    done
    echo "    log: $log"
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing found faults in: ${failed[*]}" >&2
  exit 1
fi
