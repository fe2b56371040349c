#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer + UndefinedBehaviorSanitizer) and runs
# each for SECONDS seconds, one after another. Fails when any target finds a crash, a sanitizer report,
# a failed check, a leak, a time-out or runs out of memory; the input that did it is kept in
# BUILD/fuzz-runs/TARGET/ with the run's log.
#   fuzz/run.sh SECONDS [TARGET...]      (default: every target; BUILD: $ORV_FUZZ_BUILD or build-fuzz)
set -euo pipefail
seconds=${1:?usage: fuzz/run.sh SECONDS [TARGET...]}
shift
cd "$(dirname "$0")/.."
build=${ORV_FUZZ_BUILD:-build-fuzz}
extra=()
[ -n "${CI:-}" ] && extra+=(-DORV_WERROR=ON)
cmake -S . -B "$build" -G Ninja -DORV_FUZZ=ON "${extra[@]}" >/dev/null
cmake --build "$build"

targets=("$@")
if ((${#targets[@]} == 0)); then
  for src in fuzz/*.cpp; do targets+=("$(basename "$src" .cpp)"); done
fi
failed=()
for t in "${targets[@]}"; do
  work="$build/fuzz-runs/$t"
  mkdir -p "$work/corpus"
  args=(-max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 -print_final_stats=1
        -artifact_prefix="$work/")
  [ -f "fuzz/dict/$t.dict" ] && args+=(-dict="fuzz/dict/$t.dict")
  # New inputs go to the build folder's corpus; the seeds in the source tree are only read.
  if "$build/fuzz/fuzz_$t" "${args[@]}" "$work/corpus" "fuzz/corpus/$t" >"$work/log" 2>&1; then
    status=ok
  else
    status=FAILED
    failed+=("$t")
  fi
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$work/log" | grep -o '[0-9]*$' || true)
  cov=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$work/log" | tail -1 || true)
  printf '%-18s %-6s execs %-10s %s\n' "$t" "$status" "${execs:-?}" "${cov:-}"
  if [ "$status" = FAILED ]; then
    grep -E 'ERROR|fuzz check failed|runtime error|SUMMARY|Test unit written' "$work/log" | head -20 || true
  fi
done
echo "fuzz: $((${#targets[@]} - ${#failed[@]})) passed, ${#failed[@]} failed"
if ((${#failed[@]})); then
  echo "fuzz targets with findings: ${failed[*]} (see $build/fuzz-runs/<target>/log)"
  exit 1
fi
