#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer + UndefinedBehaviorSanitizer) and runs
# each for SECONDS seconds. Fails when any target finds a crash, a sanitizer report, a failed check, a
# leak, a time-out or runs out of memory; the input that did it is kept in BUILD/fuzz-runs/TARGET/ with
# the run's log.   scripts/fuzz.sh SECONDS [TARGET...]   (every target by default; BUILD: $ORV_FUZZ_BUILD)
set -euo pipefail
seconds=${1:?usage: scripts/fuzz.sh SECONDS [TARGET...]}
shift
cd "$(dirname "$0")/.."
build=${ORV_FUZZ_BUILD:-build-fuzz}
cmake -S . -B "$build" -G Ninja -DORV_FUZZ=ON ${CI:+-DORV_WERROR=ON} >/dev/null
cmake --build "$build"
targets=("$@")
((${#targets[@]})) || for src in fuzz/*.cpp; do targets+=("$(basename "$src" .cpp)"); done
failed=()
for t in "${targets[@]}"; do
  work="$build/fuzz-runs/$t"
  mkdir -p "$work/corpus"
  dict=()
  [ -f "fuzz/dict/$t.dict" ] && dict=(-dict="fuzz/dict/$t.dict")
  # New inputs go to the build folder's corpus; the seeds in the source tree are only read.
  if "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$work/" "${dict[@]}" "$work/corpus" "fuzz/corpus/$t" >"$work/log" 2>&1; then
    echo "$t ok $(grep -o 'cov: [0-9]* ft: [0-9]*' "$work/log" | tail -1 || true)"
  else
    failed+=("$t")
    echo "$t FAILED"
    grep -E 'ERROR|fuzz check failed|runtime error|SUMMARY|Test unit written' "$work/log" | head -20 || true
  fi
done
echo "fuzz: $((${#targets[@]} - ${#failed[@]})) passed, ${#failed[@]} failed ${failed[*]:-}"
((${#failed[@]} == 0))
