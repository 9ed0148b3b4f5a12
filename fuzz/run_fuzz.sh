#!/usr/bin/env bash
# Runs every fuzz program of a build (BUILD/fuzz/fuzz_*) for a fixed number of executions with
# a time limit per input, seeded from fuzz/corpus/<name>/ and tests/fuzz_regressions/<name>/.
# New inputs collect in BUILD/fuzz-work/<name>/; an input that crashes, trips a sanitizer,
# fails a property or runs out of time is written to BUILD/fuzz-failures/<name>/ and fails the
# run (after the other programs had their turn).
# Usage: run_fuzz.sh BUILD [EXECUTIONS] [SECONDS_PER_INPUT]
set -u
build=${1:?build directory}
runs=${2:-200000}
per_input=${3:-10}
root=$(cd "$(dirname "$0")/.." && pwd)

shopt -s nullglob
programs=("$build"/fuzz/fuzz_*)
[ ${#programs[@]} -gt 0 ] || { echo "no fuzz programs in $build/fuzz"; exit 2; }

failed=()
for program in "${programs[@]}"; do
  name=${program##*/fuzz_}
  work="$build/fuzz-work/$name"
  failures="$build/fuzz-failures/$name"
  log="$build/fuzz-work/$name.log"
  mkdir -p "$work" "$failures"
  seeds=()
  for dir in "$root/fuzz/corpus/$name" "$root/tests/fuzz_regressions/$name"; do
    [ -d "$dir" ] && seeds+=("$dir")
  done
  printf '%-18s %s executions ... ' "$name" "$runs"
  if "$program" -runs="$runs" -timeout="$per_input" -max_len=4096 -artifact_prefix="$failures/" \
      "$work" "${seeds[@]}" >"$log" 2>&1; then
    echo "clean ($(grep -oE 'Done [0-9]+ runs in [0-9]+ second' "$log" | tail -n 1 | sed 's/Done //')s)"
  else
    echo "FAILED"
    grep -aE 'ERROR|property failed|detail:|SUMMARY|Test unit written' "$log" | head -n 12
    failed+=("$name")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing failed: ${failed[*]}"
  echo "The failing inputs are in $build/fuzz-failures/; once fixed, keep each in"
  echo "tests/fuzz_regressions/<name>/ so that make test replays it."
  exit 1
fi
echo "fuzzing clean: ${#programs[@]} programs"
